#include "shells/win32/window.h"

#include "shells/win32/dpi.h"

namespace win32_shell {
namespace {

constexpr int kProgramIconResource = 1;

bool RegisterOnce(const WindowClass& windowClass, WNDPROC procedure) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, windowClass.name, &existing)) return true;
  WNDCLASSEXW description{};
  description.cbSize = sizeof description;
  description.lpfnWndProc = procedure;
  description.hInstance = instance;
  description.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kProgramIconResource));
  description.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  description.hbrBackground = windowClass.background;
  description.lpszClassName = windowClass.name;
  return RegisterClassExW(&description) != 0;
}

}  // namespace

Window::~Window() {
  if (handle_) DestroyWindow(handle_);
}

bool Window::Create(const WindowClass& windowClass, DWORD exStyle, DWORD style, const wchar_t* title, HWND parent,
                    RECT bounds) {
  if (!RegisterOnce(windowClass, &Window::Procedure)) return false;
  CreateWindowExW(exStyle, windowClass.name, title, style, bounds.left, bounds.top, bounds.right - bounds.left,
                  bounds.bottom - bounds.top, parent, nullptr, GetModuleHandleW(nullptr), this);
  return handle_ != nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->handle_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (!GetParent(window)) EnableNonClientScaling(window);
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  const LRESULT result = self->HandleMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
  }
  return result;
}

}  // namespace win32_shell
