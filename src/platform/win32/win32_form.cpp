#include "platform/win32/win32_form.h"

#include <commctrl.h>

#include <stdexcept>
#include <string>
#include <utility>

#include "platform/win32/dpi.h"
#include "platform/win32/prompt_dialog.h"
#include "platform/win32/resources.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_ui.h"

namespace zorvane::win32 {
namespace {

// Windows are white with black text, as designed, unless a high-contrast theme runs: then they
// take the system's colours.
bool highContrastOn() {
    HIGHCONTRASTW contrast{.cbSize = sizeof contrast};
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

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

FormFonts createFonts(const FormLayout& layout, UINT dpi) {
    FormFonts fonts{.form = layout.font ? createFont(*layout.font, dpi) : createDialogFont(dpi)};
    for (const ControlLayout& control : layout.controls) {
        if (control.font) fonts.controls.emplace(control.id, createFont(*control.font, dpi));
    }
    return fonts;
}

// Not in the headers for Windows 7: sent before WM_DPICHANGED, from Windows 10 (1703) on.
constexpr UINT getDpiScaledSize = 0x02E4;

// In the template box, Tab moves on to the next control and Esc does nothing, as everywhere
// else in the window (a multi-line box that wanted Esc would close its window); Enter still
// starts a new line.
LRESULT CALLBACK tabMovesOn(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR) noexcept {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, tabMovesOn, 0);
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

// A label one line high shows the words of its caption that fit whole, and nothing of the next:
// the static control would cut through a glyph at its right edge (and Wine's word wrap would
// drop a word that fits when the space after it does not).
LRESULT CALLBACK wholeWordsOnly(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) noexcept {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(label, wholeWordsOnly, 0);
    if (message != WM_PAINT && message != WM_PRINTCLIENT) {
        return DefSubclassProc(label, message, wParam, lParam);
    }
    PAINTSTRUCT paint{};
    const HDC dc = message == WM_PAINT ? BeginPaint(label, &paint) : reinterpret_cast<HDC>(wParam);
    RECT room{};
    GetClientRect(label, &room);
    // The colours are the window's, as for any label.
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(label), WM_CTLCOLORSTATIC,
                                                             reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(label)));
    FillRect(dc, &room, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
    const HGDIOBJ before =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    std::wstring caption(GetWindowTextLengthW(label) + 1, L'\0');
    caption.resize(GetWindowTextW(label, caption.data(), static_cast<int>(caption.size())));
    int fit = 0;
    SIZE size{};
    GetTextExtentExPointW(dc, caption.c_str(), static_cast<int>(caption.size()), room.right, &fit,
                          nullptr, &size);
    if (fit < std::ssize(caption)) {
        while (fit > 0 && caption[fit] != L' ')
            --fit;  // back to the end of the last word that fits
    }
    TextOutW(dc, 0, 0, caption.c_str(), fit);
    SelectObject(dc, before);
    if (message == WM_PAINT) EndPaint(label, &paint);
    return 0;
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

// `height`: the control's in pixels, for the font given.
ChildClass childClass(const ControlLayout& layout, HFONT font, int height) {
    switch (layout.kind) {
        case ControlKind::Label: {
            // Left-aligned labels wrap by words, except those one line high, which show what
            // fits on that line (wholeWordsOnly) rather than wrap onto a line nobody sees. A
            // line that does not fit whole below the others is left out, not cut through.
            DWORD align = layout.align == Align::Center ? SS_CENTER : SS_LEFT | SS_EDITCONTROL;
            if (align != SS_CENTER && height < 2 * lineHeight(font)) {
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
            return {frameClassName, WS_BORDER | WS_TABSTOP, 0};
        case ControlKind::Image:
            return {L"Static", SS_BITMAP, 0};
        case ControlKind::Timer:
            break;
    }
    throw std::invalid_argument("a timer has no window");
}

}  // namespace

Win32Form::Win32Form(HINSTANCE instance, const FormLayout& layout, std::optional<int> firstShow)
    : layout_(layout), highContrast_(highContrastOn()), firstShow_(firstShow) {
    const bool tool = layout.kind == FormKind::Tool;
    const DWORD style =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | (tool ? 0 : WS_MINIMIZEBOX);
    // Sized once its DPI is known, which is the DPI of the monitor it is placed on.
    create(tool ? WS_EX_TOOLWINDOW : 0, formClassName, widen(layout.caption).c_str(), style,
           CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, instance);
    dpi_ = dpiOf(hwnd());
    fonts_ = createFonts(layout_, dpi_);
    const SIZE size = windowSize(dpi_);
    SetWindowPos(hwnd(), nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

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
    const RECT pixels = toPixels(layout.rect, layout_.unit, dpi_);
    ChildClass type = childClass(layout, fonts_.of(layout), pixels.bottom - pixels.top);
    if (!layout.tabStop) type.style &= ~WS_TABSTOP;
    // An image's text names its picture, which this form loads and frees itself.
    const bool image = layout.kind == ControlKind::Image;
    HWND window = CreateWindowExW(type.exStyle, type.name, image ? L"" : widen(layout.text).c_str(),
                                  type.style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                                  parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
                                  instance, nullptr);
    if (!window) {
        throw std::runtime_error("cannot create control id " + std::to_string(layout.id));
    }
    if (image) {
        // The picture is drawn at its own size in the control's corner; the control itself is
        // placed and scaled like any other.
        const HANDLE picture = LoadImageW(instance, widen(layout.text).c_str(), IMAGE_BITMAP, 0, 0,
                                          LR_CREATEDIBSECTION);
        pictures_.emplace_back(static_cast<HBITMAP>(picture));
        SendMessageW(window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    }
    place(window, layout);
    if (layout.kind == ControlKind::TextBox || layout.kind == ControlKind::MultiLineTextBox) {
        // Edit boxes cut what is typed or pasted at 30,000 characters unless told otherwise; a
        // long template must reach Set Away whole, to be refused there with a reason.
        SendMessageW(window, EM_SETLIMITTEXT, 0, 0);
    }
    if (layout.kind == ControlKind::MultiLineTextBox) SetWindowSubclass(window, tabMovesOn, 0, 0);
    if (layout.kind == ControlKind::Label && (type.style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP) {
        SetWindowSubclass(window, wholeWordsOnly, 0, 0);
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

HFONT FormFonts::of(const ControlLayout& control) const {
    const auto own = controls.find(control.id);
    return own != controls.end() ? own->second.get() : form.get();
}

void Win32Form::place(HWND window, const ControlLayout& layout) {
    const RECT r = toPixels(layout.rect, layout_.unit, dpi_);
    SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.of(layout)), TRUE);
}

void Win32Form::layOut(UINT dpi) {
    dpi_ = dpi;
    // The old fonts go once no control uses them any more.
    const FormFonts old = std::exchange(fonts_, createFonts(layout_, dpi));
    for (const ControlLayout& control : layout_.controls) {
        if (const HWND window = child(control.id).window) place(window, control);
    }
}

SIZE Win32Form::windowSize(UINT dpi) const {
    return outerSize(toPixels({0, 0, layout_.clientWidth, layout_.clientHeight}, layout_.unit, dpi),
                     hwnd(), dpi);
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
    if (const auto first = std::exchange(firstShow_, std::nullopt)) {
        // As the program was started ("run minimized", say); never maximized, it has no
        // maximize box.
        ShowWindow(hwnd(), *first == SW_SHOWMAXIMIZED ? SW_SHOWNORMAL : *first);
        return;
    }
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
