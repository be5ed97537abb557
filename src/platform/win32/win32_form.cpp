#include "platform/win32/win32_form.h"

#include <commctrl.h>

#include <cmath>
#include <stdexcept>
#include <string>

#include "platform/win32/prompt_dialog.h"
#include "platform/win32/resources.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_ui.h"

namespace zorvane::win32 {
namespace {

constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF black = RGB(0, 0, 0);

// Layouts are drawn at 96 dots per inch; so are the fonts' heights.
UniqueFont createFont(const Font& font) {
    const int height = -static_cast<int>(std::lround(font.points * 96.0 / 72.0));
    return UniqueFont(CreateFontW(height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, widen(font.face).c_str()));
}

// The font of message boxes and dialogs, for a window that names none of its own.
UniqueFont createDialogFont() {
    NONCLIENTMETRICSW metrics{.cbSize = sizeof metrics};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

// In the template box, Tab moves on to the next control and Esc does nothing, as everywhere
// else in the window (a multi-line box that wanted Esc would close its window); Enter still
// starts a new line.
LRESULT CALLBACK tabMovesOn(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR) noexcept {
    LRESULT code = DefSubclassProc(edit, message, wParam, lParam);
    if (message == WM_GETDLGCODE) {
        code &= ~DLGC_WANTTAB;
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key && key->message == WM_KEYDOWN &&
            (key->wParam == VK_TAB || key->wParam == VK_ESCAPE)) {
            code &= ~DLGC_WANTALLKEYS;
        }
    }
    return code;
}

struct ChildClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};

int lineHeight(HFONT font) {
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

ChildClass childClass(const ControlLayout& layout, HFONT font) {
    switch (layout.kind) {
        case ControlKind::Label: {
            // Left-aligned labels wrap by words, except those one line high: what does not fit
            // there is cut at the right edge rather than wrapped onto a line nobody sees.
            DWORD align = layout.align == Align::Center ? SS_CENTER : SS_LEFT;
            if (align == SS_LEFT && layout.rect.height < 2 * lineHeight(font)) {
                align = SS_LEFTNOWORDWRAP;
            }
            return {L"Static", SS_NOTIFY | SS_NOPREFIX | align, 0};
        }
        case ControlKind::TextBox:
            return {L"Edit", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::MultiLineTextBox:
            return {L"Edit",
                    ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
        case ControlKind::CheckBox:
            return {L"Button", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
        case ControlKind::PushButton:
            return {L"Button", BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::ListBox:
            return {L"ListBox", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
        case ControlKind::Frame:
            return {frameClassName, WS_BORDER, WS_EX_CONTROLPARENT};
        case ControlKind::Image:
            return {L"Static", SS_BITMAP, 0};
        case ControlKind::Timer:
            break;
    }
    throw std::invalid_argument("a timer has no window");
}

}  // namespace

Win32Form::Win32Form(HINSTANCE instance, const FormLayout& layout)
    : white_(CreateSolidBrush(white)),
      formFont_(layout.font ? createFont(*layout.font) : createDialogFont()) {
    const bool tool = layout.kind == FormKind::Tool;
    const DWORD style =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | (tool ? 0 : WS_MINIMIZEBOX);
    const DWORD exStyle = tool ? WS_EX_TOOLWINDOW : 0;
    RECT frame{0, 0, layout.clientWidth, layout.clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    create(exStyle, formClassName, widen(layout.caption).c_str(), style, CW_USEDEFAULT,
           CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr, instance);

    if (!tool) {
        // Shared icons are the system's to free. A module without the icon shows the default.
        for (auto [which, size] : {std::pair{ICON_BIG, 32}, std::pair{ICON_SMALL, 16}}) {
            const HANDLE icon = LoadImageW(instance, MAKEINTRESOURCEW(ZORVANE_ICON), IMAGE_ICON,
                                           size, size, LR_SHARED);
            SendMessageW(hwnd(), WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
        }
    }
    for (const ControlLayout& control : layout.controls) {
        createControl(instance, control);
    }
}

// The window goes first: its controls still use the fonts until they are destroyed.
Win32Form::~Win32Form() { destroyWindow(); }

void Win32Form::createControl(HINSTANCE instance, const ControlLayout& layout) {
    if (children_.contains(layout.id)) {
        throw std::invalid_argument("control id " + std::to_string(layout.id) + " is used twice");
    }
    if (layout.kind == ControlKind::Timer) {
        children_.emplace(layout.id, Child{layout.kind, nullptr});
        timers_.try_emplace(layout.id, hwnd(), layout.id, layout.intervalMs);
        return;
    }
    HWND parent = hwnd();
    if (layout.parentId != 0) {
        const auto frame = children_.find(layout.parentId);
        if (frame == children_.end() || frame->second.kind != ControlKind::Frame) {
            throw std::invalid_argument("control id " + std::to_string(layout.id) +
                                        " is not in a frame created before it");
        }
        parent = frame->second.window;
    }

    // Siblings are clipped, so a control placed over a label (the count-down box over
    // Label10's run of spaces) is never painted over; creation order is tab and z-order.
    const HFONT font = fontFor(layout);
    const ChildClass type = childClass(layout, font);
    // An image's text names its picture, which this form loads and frees itself.
    const bool image = layout.kind == ControlKind::Image;
    HWND window = CreateWindowExW(
        type.exStyle, type.name, image ? L"" : widen(layout.text).c_str(),
        type.style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, layout.rect.left, layout.rect.top,
        layout.rect.width, layout.rect.height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance, nullptr);
    if (!window) {
        throw std::runtime_error("cannot create control id " + std::to_string(layout.id));
    }
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (layout.kind == ControlKind::MultiLineTextBox) SetWindowSubclass(window, tabMovesOn, 0, 0);
    if (image) {
        const HANDLE picture = LoadImageW(instance, widen(layout.text).c_str(), IMAGE_BITMAP, 0, 0,
                                          LR_CREATEDIBSECTION);
        pictures_.emplace_back(static_cast<HBITMAP>(picture));
        SendMessageW(window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    }
    children_.emplace(layout.id, Child{layout.kind, window});
    if ((type.style & WS_TABSTOP) && !focus_) focus_ = window;

    switch (layout.kind) {
        case ControlKind::Label:
        case ControlKind::TextBox:
        case ControlKind::MultiLineTextBox:
            texts_.try_emplace(layout.id, window);
            break;
        case ControlKind::CheckBox:
            checkBoxes_.try_emplace(layout.id, window);
            break;
        case ControlKind::ListBox:
            listBoxes_.try_emplace(layout.id, window);
            break;
        default:
            break;
    }
}

HFONT Win32Form::fontFor(const ControlLayout& layout) {
    if (!layout.font) return formFont_.get();
    return controlFonts_.emplace_back(createFont(*layout.font)).get();
}

const Win32Form::Child& Win32Form::child(int id) const {
    const auto found = children_.find(id);
    if (found == children_.end()) {
        throw std::invalid_argument("no control with id " + std::to_string(id));
    }
    return found->second;
}

template <class Control>
Control& Win32Form::find(std::map<int, Control>& controls, int id, const char* kind) {
    const auto found = controls.find(id);
    if (found == controls.end()) {
        throw std::invalid_argument("no " + std::string(kind) + " with id " + std::to_string(id));
    }
    return found->second;
}

void Win32Form::onClick(int id, Handler handler) {
    child(id);
    clickHandlers_[id] = std::move(handler);
}

void Win32Form::onDoubleClick(int id, Handler handler) {
    child(id);
    doubleClickHandlers_[id] = std::move(handler);
}

void Win32Form::onTimer(int id, Handler handler) {
    find(timers_, id, "timer");
    timerHandlers_[id] = std::move(handler);
}

void Win32Form::run(const std::map<int, Handler>& handlers, int id) {
    const auto found = handlers.find(id);
    if (found == handlers.end() || !found->second) return;
    const Handler handler = found->second;  // outlives a handler that destroys the form
    handler();
}

void Win32Form::show() {
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
}

void Win32Form::messageBox(std::string_view text, std::string_view title) {
    MessageBoxW(hwnd(), widen(text).c_str(), widen(title).c_str(), MB_OK);
}

std::string Win32Form::prompt(std::string_view text, std::string_view title) {
    PromptDialog dialog{.title = widen(title), .prompt = widen(text)};
    return dialog.run(hwnd()) ? narrow(dialog.value) : std::string();
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
    switch (message) {
        case WM_COMMAND:
            // Controls only: Enter and Esc in a text box arrive as IDOK/IDCANCEL from no window.
            if (lParam != 0) command(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_TIMER: {
            // A tick already queued when the timer was disabled is dropped.
            const auto found = timers_.find(static_cast<int>(wParam));
            if (found != timers_.end() && found->second.enabled()) {
                run(timerHandlers_, found->first);
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN: {
            const auto dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, black);
            SetBkColor(dc, white);
            return reinterpret_cast<LRESULT>(white_.get());
        }
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
