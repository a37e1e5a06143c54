#pragma once
// A window whose messages go to a C++ object: the base of the programs'
// windows and of their owner-drawn parts.
#include <windows.h>

namespace win32_shell {

struct WindowClass {
  const wchar_t* name;
  HBRUSH background;  // nullptr: the window paints all of itself
};

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  // Destroys the window if it still exists.
  virtual ~Window();

  HWND Handle() const { return handle_; }

 protected:
  // Registers the class at its first use (with the program's icon, resource
  // 1, when it has one) and creates the window; false when that fails.
  bool Create(const WindowClass& windowClass, DWORD exStyle, DWORD style, const wchar_t* title, HWND parent,
              RECT bounds);
  // Everything not handled goes to DefWindowProcW.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
};

}  // namespace win32_shell
