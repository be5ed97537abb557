#include "platform/win32/form_children.h"

#include <commctrl.h>

#include <stdexcept>
#include <string>

#include "platform/win32/wide.h"
#include "platform/win32/win32_ui.h"

namespace zorvane::win32 {
namespace {

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

int lineHeight(HFONT font) {
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

struct Request {
    HINSTANCE instance;
    HWND parent;
    const ControlLayout& layout;
    std::wstring text;  // the caption, or an image's picture name
};

// Siblings are clipped, so a control placed over a label (the count-down box over Label10's run
// of spaces) is never painted over; creation order is tab and z-order.
HWND make(const Request& r, const wchar_t* className, DWORD style, DWORD exStyle = 0,
          bool captioned = true) {
    if (!r.layout.tabStop) style &= ~WS_TABSTOP;
    const HWND window = CreateWindowExW(
        exStyle, className, captioned ? r.text.c_str() : L"",
        style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, r.parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(r.layout.id)), r.instance, nullptr);
    if (!window) {
        throw std::runtime_error("cannot create control id " + std::to_string(r.layout.id));
    }
    return window;
}

// Left-aligned labels wrap by words, except those one line high, which show what fits on that
// line (wholeWordsOnly) rather than wrap onto a line nobody sees. A line that does not fit whole
// below the others is left out, not cut through.
HWND label(const Request& r, HFONT font, int height) {
    const bool centred = r.layout.align == Align::Center;
    const bool oneLine = !centred && height < 2 * lineHeight(font);
    const DWORD align = centred   ? SS_CENTER
                        : oneLine ? SS_LEFTNOWORDWRAP
                                  : SS_LEFT | SS_EDITCONTROL;
    const HWND window = make(r, L"Static", SS_NOTIFY | SS_NOPREFIX | align);
    if (oneLine) SetWindowSubclass(window, wholeWordsOnly, 0, 0);
    return window;
}

HWND textBox(const Request& r, bool multiLine) {
    const DWORD style =
        multiLine ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL;
    const HWND window = make(r, L"Edit", style | WS_TABSTOP, WS_EX_CLIENTEDGE);
    // Edit boxes cut what is typed or pasted at 30,000 characters unless told otherwise; a long
    // template must reach Set Away whole, to be refused there with a reason.
    SendMessageW(window, EM_SETLIMITTEXT, 0, 0);
    if (multiLine) SetWindowSubclass(window, tabMovesOn, 0, 0);
    return window;
}

// An image's text names its picture, drawn at its own size in the control's corner; the control
// itself is placed and scaled like any other.
HWND image(const Request& r, std::vector<UniqueBitmap>& pictures) {
    const HWND window = make(r, L"Static", SS_BITMAP, 0, false);
    const HANDLE picture =
        LoadImageW(r.instance, r.text.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    pictures.emplace_back(static_cast<HBITMAP>(picture));
    SendMessageW(window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    return window;
}

}  // namespace

HWND createChild(HINSTANCE instance, HWND parent, const ControlLayout& layout, HFONT font,
                 int height, std::vector<UniqueBitmap>& pictures) {
    const Request r{instance, parent, layout, widen(layout.text)};
    switch (layout.kind) {
        case ControlKind::Label:
            return label(r, font, height);
        case ControlKind::TextBox:
            return textBox(r, false);
        case ControlKind::MultiLineTextBox:
            return textBox(r, true);
        case ControlKind::CheckBox:
            return make(r, L"Button", BS_AUTOCHECKBOX | WS_TABSTOP);
        case ControlKind::PushButton:
            return make(r, L"Button", BS_PUSHBUTTON | WS_TABSTOP);
        case ControlKind::ListBox:
            return make(r, L"ListBox", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                        WS_EX_CLIENTEDGE);
        case ControlKind::Frame:
            return make(r, frameClassName, WS_BORDER | WS_TABSTOP);
        case ControlKind::Image:
            return image(r, pictures);
        case ControlKind::Timer:
            break;
    }
    throw std::invalid_argument("a timer has no window");
}

}  // namespace zorvane::win32
