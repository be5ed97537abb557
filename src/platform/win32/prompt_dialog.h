#pragma once
// A modal text prompt: the prompt text, an edit field, OK and Cancel. Win32 has none ready, so
// this one is built from an in-memory dialog template. The public fields are its in/out contract.

#include <windows.h>

#include <string>

namespace zorvane::win32 {

struct PromptDialog {
    // Child ids, for automation; OK and Cancel are IDOK and IDCANCEL.
    static constexpr int textId = 1001;
    static constexpr int editId = 1002;

    std::wstring title;   // in: the caption, may be empty
    std::wstring prompt;  // in: the text above the edit field
    std::wstring value;   // in: the field's start text; out: what the user typed, on OK

    // Modal to `owner`; true when the user pressed OK, false on Cancel, Esc or the close box.
    bool run(HWND owner);
};

}  // namespace zorvane::win32
