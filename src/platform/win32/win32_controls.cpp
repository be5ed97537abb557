#include "platform/win32/win32_controls.h"

#include <commctrl.h>

#include "platform/win32/wide.h"

namespace zorvane::win32 {

std::string Win32TextControl::text() const { return narrow(wideWindowText(control_)); }

void Win32TextControl::setText(std::string_view text) {
    SetWindowTextW(control_, widen(text).c_str());
}

int Win32CheckBox::value() const {
    return SendMessageW(control_, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void Win32CheckBox::setValue(int value) {
    SendMessageW(control_, BM_SETCHECK, value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32Timer::setEnabled(bool enabled) {
    // Enabling a running timer must not restart its interval.
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled) {
        SetTimer(form_, static_cast<UINT_PTR>(id_), static_cast<UINT>(intervalMs_), nullptr);
    } else {
        KillTimer(form_, static_cast<UINT_PTR>(id_));
    }
}

Win32ListBox::Win32ListBox(HWND control) : control_(control) {
    SetWindowSubclass(control_, countChanges, 0, reinterpret_cast<DWORD_PTR>(this));
}

Win32ListBox::~Win32ListBox() {
    if (control_) RemoveWindowSubclass(control_, countChanges, 0);
}

LRESULT CALLBACK Win32ListBox::countChanges(HWND control, UINT message, WPARAM wParam,
                                            LPARAM lParam, UINT_PTR, DWORD_PTR self) noexcept {
    auto& list = *reinterpret_cast<Win32ListBox*>(self);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, countChanges, 0);
        list.control_ = nullptr;
        return DefSubclassProc(control, message, wParam, lParam);
    }
    // Counted once made: a lookup that reads the entries under the new count reads them changed.
    const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
    switch (message) {
        // Every message that adds, removes or replaces entries, whether or not it succeeds.
        case LB_ADDSTRING:
        case LB_INSERTSTRING:
        case LB_DELETESTRING:
        case LB_RESETCONTENT:
        case LB_DIR:
        case LB_ADDFILE:
        case LB_SETCOUNT:
            ++list.changes_;
            break;
        default:
            break;
    }
    return result;
}

int Win32ListBox::count() const {
    return static_cast<int>(SendMessageW(control_, LB_GETCOUNT, 0, 0));
}

std::string Win32ListBox::item(int index) const {
    const LRESULT length = SendMessageW(control_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(control_, LB_GETTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return narrow(text);
}

void Win32ListBox::add(std::string_view entry) {
    SendMessageW(control_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(entry).c_str()));
}

void Win32ListBox::remove(int index) {
    SendMessageW(control_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

int Win32ListBox::selected() const {
    const LRESULT index = SendMessageW(control_, LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void Win32ListBox::setSelected(int index) {
    SendMessageW(control_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

}  // namespace zorvane::win32
