#pragma once
// An owning window base: the object is found from its HWND (stored at WM_NCCREATE), every
// message goes to one handler, and no exception ever escapes into user32.

#include <windows.h>

#include "platform/win32/handles.h"

namespace zorvane::win32 {

class BaseWindow {
  public:
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

    HWND hwnd() const { return window_.get(); }

    // The window procedure of every class whose windows are BaseWindows.
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;

  protected:
    BaseWindow() = default;
    ~BaseWindow() { destroyWindow(); }

    // Throws std::system_error when the window cannot be created.
    void create(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style, int x,
                int y, int width, int height, HWND parent, HINSTANCE instance);
    // Detaches first, so the messages of the window's last moments no longer reach this object.
    void destroyWindow();

    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  private:
    UniqueWindow window_;
};

}  // namespace zorvane::win32
