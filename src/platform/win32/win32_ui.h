#pragma once
// The program's windows as real Win32 windows with child controls.

#include <windows.h>

#include <optional>

#include "platform/form.h"

namespace zorvane::win32 {

// Window classes, so that tests and users' automation tools can find the program's windows.
inline constexpr wchar_t formClassName[] = L"ZorvaneForm";
inline constexpr wchar_t frameClassName[] = L"ZorvaneFrame";

class Win32Ui final : public Ui {
  public:
    // `instance` holds the program's icon (resources.h), if it has one. `startShow` is how the
    // program was started (wWinMain's nCmdShow): the first window built, the main window, is
    // first shown that way.
    explicit Win32Ui(HINSTANCE instance, int startShow = SW_SHOWNORMAL);

    std::unique_ptr<Form> createForm(const FormLayout& layout) override;
    [[noreturn]] void exitProcess() override;

  private:
    HINSTANCE instance_;
    std::optional<int> startShow_;
};

}  // namespace zorvane::win32
