#include "platform/win32/win32_ui.h"

#include <utility>

#include "platform/win32/base_window.h"
#include "platform/win32/win32_form.h"

namespace zorvane::win32 {
namespace {

// A frame holds the label of a label button and takes the keyboard focus for it: Space or Enter
// there is a click on the label. The form handles the label's clicks and colours (which show
// the frame's focus).
LRESULT CALLBACK frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    const HWND label = GetWindow(frame, GW_CHILD);
    switch (message) {
        case WM_COMMAND:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            return SendMessageW(GetParent(frame), message, wParam, lParam);
        case WM_GETDLGCODE: {
            // Enter comes here rather than going to the window as its default button's.
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            return key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN ? DLGC_WANTMESSAGE
                                                                                 : 0;
        }
        case WM_KEYDOWN: {
            if ((wParam != VK_SPACE && wParam != VK_RETURN) || !label) break;
            // A key held down repeats; only its first press clicks.
            if ((lParam & (1 << 30)) == 0) {
                SendMessageW(GetParent(frame), WM_COMMAND,
                             MAKEWPARAM(GetDlgCtrlID(label), STN_CLICKED),
                             reinterpret_cast<LPARAM>(label));
            }
            return 0;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (label) InvalidateRect(label, nullptr, TRUE);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(frame, message, wParam, lParam);
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
    // A form paints its own background, in the colours of the theme.
    registerClass(instance, formClassName, BaseWindow::windowProc, nullptr);
    registerClass(instance, frameClassName, frameProc,
                  reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
}

std::unique_ptr<Form> Win32Ui::createForm(const FormLayout& layout) {
    return std::make_unique<Win32Form>(instance_, layout, std::exchange(startShow_, std::nullopt));
}

void Win32Ui::exitProcess() { ExitProcess(0); }

}  // namespace zorvane::win32
