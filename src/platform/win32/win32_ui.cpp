#include "platform/win32/win32_ui.h"

#include <utility>

#include "platform/win32/base_window.h"
#include "platform/win32/win32_form.h"

namespace zorvane::win32 {
namespace {

// A frame holds its label, but the form handles the label's clicks and colours.
LRESULT CALLBACK frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_COMMAND:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            return SendMessageW(GetParent(frame), message, wParam, lParam);
        default:
            return DefWindowProcW(frame, message, wParam, lParam);
    }
}

void registerClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSEXW existing{.cbSize = sizeof existing};
    if (GetClassInfoExW(instance, name, &existing)) return;
    const WNDCLASSEXW windowClass{.cbSize = sizeof windowClass,
                                  .lpfnWndProc = procedure,
                                  .hInstance = instance,
                                  .hCursor = LoadCursorW(nullptr, IDC_ARROW),
                                  .hbrBackground = background,
                                  .lpszClassName = name};
    RegisterClassExW(&windowClass);
}

}  // namespace

Win32Ui::Win32Ui(HINSTANCE instance, int startShow) : instance_(instance), startShow_(startShow) {
    registerClass(instance, formClassName, BaseWindow::windowProc,
                  static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    registerClass(instance, frameClassName, frameProc,
                  reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
}

std::unique_ptr<Form> Win32Ui::createForm(const FormLayout& layout) {
    return std::make_unique<Win32Form>(instance_, layout, std::exchange(startShow_, std::nullopt));
}

void Win32Ui::exitProcess() { ExitProcess(0); }

}  // namespace zorvane::win32
