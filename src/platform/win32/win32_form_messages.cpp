// A form's messages: its controls' notifications, its timers, its colours, the focus it keeps,
// its moves to another DPI, and its fixed size.
#include "platform/win32/win32_form.h"

namespace zorvane::win32 {
namespace {

struct Colors {
    COLORREF text;
    COLORREF background;
    HBRUSH brush;  // of the background; the system's, never freed
};

Colors colors(bool highContrast) {
    if (highContrast) {
        return {GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW),
                GetSysColorBrush(COLOR_WINDOW)};
    }
    return {RGB(0, 0, 0), RGB(255, 255, 255), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))};
}

// Not in the headers for Windows 7: sent before WM_DPICHANGED, from Windows 10 (1703) on.
constexpr UINT getDpiScaledSize = 0x02E4;
// Posted to a form that was maximized, to restore it once the maximizing is done.
constexpr UINT restoreMessage = WM_APP;

}  // namespace

bool Win32Form::highContrastOn() {
    HIGHCONTRASTW contrast{.cbSize = sizeof contrast};
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

void Win32Form::command(int id, int code) {
    const auto found = children_.find(id);
    if (found == children_.end()) return;
    switch (found->second.kind) {
        case ControlKind::Label:
            if (code == STN_CLICKED) run(clickHandlers_, id);
            if (code == STN_DBLCLK) run(doubleClickHandlers_, id);
            break;
        case ControlKind::CheckBox:
        case ControlKind::PushButton:
            if (code == BN_CLICKED) run(clickHandlers_, id);
            break;
        case ControlKind::ListBox:
            if (code == LBN_DBLCLK) run(doubleClickHandlers_, id);
            break;
        default:
            break;
    }
}

LRESULT Win32Form::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == timerTicksMessage_) {
        const auto found = timers_.find(static_cast<int>(wParam));
        return found == timers_.end() ? 0 : found->second.ticks();
    }
    switch (message) {
        case WM_COMMAND:
            // Controls only: Enter and Esc in a text box arrive as IDOK/IDCANCEL from no window.
            if (lParam != 0) command(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_TIMER: {
            // A tick already queued when the timer was disabled is dropped.
            const auto found = timers_.find(static_cast<int>(wParam));
            if (found != timers_.end() && found->second.enabled()) {
                found->second.ticked();
                run(timerHandlers_, found->first);
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN: {
            const auto dc = reinterpret_cast<HDC>(wParam);
            // A label button shows that its frame has the focus in the selection colours.
            const HWND frame = GetParent(reinterpret_cast<HWND>(lParam));
            if (frame != hwnd() && GetFocus() == frame) {
                SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
                SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_HIGHLIGHT));
            }
            const Colors shown = colors(highContrast_);
            SetTextColor(dc, shown.text);
            SetBkColor(dc, shown.background);
            return reinterpret_cast<LRESULT>(shown.brush);
        }
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(hwnd(), &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, colors(highContrast_).brush);
            return TRUE;
        }
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            // A high-contrast theme was switched on or off, or its colours changed.
            highContrast_ = highContrastOn();
            RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            break;
        case WM_ACTIVATE:
            // Like a dialog: the focus leaves with the window and comes back to the same control.
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus && IsChild(hwnd(), focus)) focus_ = focus;
            } else if (focus_ && !HIWORD(wParam)) {
                SetFocus(focus_);
                return 0;
            }
            break;
        case getDpiScaledSize:
            // The exact size at the new DPI, so that the rectangle WM_DPICHANGED suggests fits.
            *reinterpret_cast<SIZE*>(lParam) = windowSize(static_cast<UINT>(wParam));
            return TRUE;
        case WM_DPICHANGED: {
            // Moved to a monitor of another DPI, or the user changed its scale.
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top,
                         suggested.right - suggested.left, suggested.bottom - suggested.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            layOut(HIWORD(wParam));
            return 0;
        }
        case WM_SIZE:
            // A window of fixed size is never zoomed: Windows zooms the main window at first
            // when a shortcut says "Run: Maximized", whatever the program asks.
            if (wParam == SIZE_MAXIMIZED) PostMessageW(hwnd(), restoreMessage, 0, 0);
            break;
        case restoreMessage:
            if (IsZoomed(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
            return 0;
        case WM_CLOSE: {
            // The window stays unless the handler destroys the form.
            const Handler handler = closeHandler_;
            if (handler) handler();
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(hwnd(), message, wParam, lParam);
}

}  // namespace zorvane::win32
