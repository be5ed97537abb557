#pragma once
// The desktop over the real Win32 calls, always in their UTF-16 forms.

#include "platform/desktop.h"

namespace zorvane::win32 {

class Win32Desktop final : public Desktop {
  public:
    std::vector<WindowHandle> findWindows(std::string_view className,
                                          std::string_view title) override;
    WindowHandle findWindowByClass(std::string_view className) override;
    WindowHandle findChild(WindowHandle parent, std::string_view className) override;
    bool belongsToThisProcess(WindowHandle window) override;
    std::string windowText(WindowHandle window, std::size_t maxUtf16Units) override;
    void setWindowText(WindowHandle window, std::string_view text) override;
    void openUrl(std::string_view url) override;
    MemoryStatus memoryStatus() override;
    std::string decimalSeparator() override;
    void pumpEvents() override;
    void waitForEvents(double seconds) override;
    double clockSeconds() override;
};

}  // namespace zorvane::win32
