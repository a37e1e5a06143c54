#include "shells/win32/message_loop.h"

namespace win32_shell {
namespace {

void Dispatch(MSG& message, HWND dialogWindow) {
  if (dialogWindow && IsWindow(dialogWindow) && IsDialogMessageW(dialogWindow, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

void RunMessageLoop(HWND dialogWindow, platform::WaitableEvent* terminationRequests,
                    const std::function<void()>& onTerminationRequest) {
  HANDLE request = terminationRequests ? reinterpret_cast<HANDLE>(terminationRequests->NativeHandle()) : nullptr;
  const DWORD handleCount = request ? 1 : 0;
  for (;;) {
    const DWORD woken = MsgWaitForMultipleObjectsEx(handleCount, &request, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (request && woken == WAIT_OBJECT_0) {
      terminationRequests->Acknowledge();
      if (onTerminationRequest) onTerminationRequest();
      continue;
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return;
      Dispatch(message, dialogWindow);
    }
  }
}

void ProcessPendingMessages(HWND dialogWindow) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message, dialogWindow);
  }
}

}  // namespace win32_shell
