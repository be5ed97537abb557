#include "platform/win32/prompt_dialog.h"

#include <cstddef>
#include <cstring>
#include <exception>
#include <string_view>
#include <vector>

#include "platform/win32/wide.h"

namespace zorvane::win32 {
namespace {

// A DLGTEMPLATE and its items, laid out as the dialog manager reads them (WORDs, items on
// DWORD boundaries). Sizes are dialog units, so the dialog follows its font.
class DialogTemplate {
  public:
    DialogTemplate(DWORD style, std::wstring_view title, short width, short height,
                   std::wstring_view font, WORD points) {
        const DLGTEMPLATE header{style, 0, 0, 0, 0, width, height};
        append(&header, sizeof header);
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the standard dialog class
        appendString(title);
        words_.push_back(points);
        appendString(font);
    }

    // `classAtom`: 0x80 button, 0x81 edit, 0x82 static.
    void addItem(WORD classAtom, DWORD style, short x, short y, short width, short height, WORD id,
                 std::wstring_view text = {}) {
        if (words_.size() % 2 != 0) words_.push_back(0);
        const DLGITEMTEMPLATE item{style | WS_CHILD | WS_VISIBLE, 0, x, y, width, height, id};
        append(&item, sizeof item);
        words_.push_back(0xFFFF);
        words_.push_back(classAtom);
        appendString(text);
        words_.push_back(0);  // no creation data
        WORD count = 0;
        std::memcpy(&count, words_.data() + countAt, sizeof count);
        ++count;
        std::memcpy(words_.data() + countAt, &count, sizeof count);
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    static constexpr std::size_t countAt = offsetof(DLGTEMPLATE, cdit) / sizeof(WORD);

    void append(const void* data, std::size_t bytes) {
        const std::size_t at = words_.size();
        words_.resize(at + (bytes + 1) / 2);
        std::memcpy(words_.data() + at, data, bytes);
    }
    void appendString(std::wstring_view text) {
        words_.insert(words_.end(), text.begin(), text.end());
        words_.push_back(0);
    }

    std::vector<WORD> words_;
};

constexpr WORD button = 0x80, edit = 0x81, staticText = 0x82;

INT_PTR CALLBACK promptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            const auto& self = *reinterpret_cast<const PromptDialog*>(lParam);
            SetDlgItemTextW(dialog, PromptDialog::textId, self.prompt.c_str());
            SetDlgItemTextW(dialog, PromptDialog::editId, self.value.c_str());
            // No cut at 30,000 characters: a long message is taken whole.
            SendDlgItemMessageW(dialog, PromptDialog::editId, EM_SETLIMITTEXT, 0, 0);
            return TRUE;  // focus goes to the edit field, the first tab stop
        }
        if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            if (LOWORD(wParam) == IDOK) {
                auto& self = *reinterpret_cast<PromptDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
                self.value = wideWindowText(GetDlgItem(dialog, PromptDialog::editId));
            }
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
    } catch (const std::exception& error) {
        OutputDebugStringA(error.what());
        EndDialog(dialog, IDCANCEL);
    }
    return FALSE;
}

}  // namespace

bool PromptDialog::run(HWND owner) {
    DialogTemplate dialog(
        DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, title, 240, 76,
        L"MS Shell Dlg", 8);
    dialog.addItem(staticText, SS_LEFT | SS_NOPREFIX, 7, 7, 170, 40, textId);
    dialog.addItem(edit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 55, 226, 13, editId);
    dialog.addItem(button, BS_DEFPUSHBUTTON | WS_TABSTOP, 183, 7, 50, 14, IDOK, L"OK");
    dialog.addItem(button, BS_PUSHBUTTON | WS_TABSTOP, 183, 25, 50, 14, IDCANCEL, L"Cancel");
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), owner, promptProc,
                                   reinterpret_cast<LPARAM>(this)) == IDOK;
}

}  // namespace zorvane::win32
