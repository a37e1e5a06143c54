#include "shells/win32/message_loop.h"

namespace win32_shell {
namespace {

void Dispatch(MSG& message, HWND dialogWindow) {
  if (dialogWindow && IsWindow(dialogWindow) && IsDialogMessageW(dialogWindow, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

void RunMessageLoop(HWND dialogWindow, const std::vector<EventHandler>& handlers) {
  std::vector<HANDLE> events;
  std::vector<const EventHandler*> owners;
  for (const EventHandler& handler : handlers) {
    if (!handler.event) continue;
    events.push_back(reinterpret_cast<HANDLE>(handler.event->NativeHandle()));
    owners.push_back(&handler);
  }
  const DWORD count = static_cast<DWORD>(events.size());
  for (;;) {
    const DWORD woken =
        MsgWaitForMultipleObjectsEx(count, events.data(), INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken < WAIT_OBJECT_0 + count) {
      const EventHandler& ready = *owners[woken - WAIT_OBJECT_0];
      ready.event->Acknowledge();
      if (ready.onReady) ready.onReady();
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
