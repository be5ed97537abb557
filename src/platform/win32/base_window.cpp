#include "platform/win32/base_window.h"

#include <exception>
#include <system_error>

namespace zorvane::win32 {

void BaseWindow::create(DWORD exStyle, const wchar_t* className, const wchar_t* caption,
                        DWORD style, int x, int y, int width, int height, HWND parent,
                        HINSTANCE instance) {
    CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parent, nullptr,
                    instance, this);
    if (!hwnd()) {
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                "CreateWindowEx");
    }
}

void BaseWindow::destroyWindow() {
    if (!window_) return;
    SetWindowLongPtrW(hwnd(), GWLP_USERDATA, 0);
    window_.reset();
}

LRESULT CALLBACK BaseWindow::windowProc(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<BaseWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_.reset(window);
    }
    auto* self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Destroyed from outside the object (or by the system): the handle is no longer ours.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        (void)self->window_.release();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        // The handler may destroy this object; nothing of `self` is touched afterwards.
        return self->handleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        OutputDebugStringA(error.what());
    } catch (...) {
        OutputDebugStringA("unknown exception in a window procedure");
    }
    return 0;
}

}  // namespace zorvane::win32
