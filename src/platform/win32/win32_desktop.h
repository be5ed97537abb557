#pragma once
// The desktop over the real Win32 calls, always in their UTF-16 forms.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/desktop.h"
#include "platform/win32/apartment_thread.h"
#include "platform/win32/shell_launcher.h"

namespace zorvane::win32 {

class Win32Desktop final : public Desktop {
  public:
    // Starts watching top-level windows made, renamed and gone; one desktop at a time, on the
    // UI thread.
    Win32Desktop();
    ~Win32Desktop() override;
    Win32Desktop(const Win32Desktop&) = delete;
    Win32Desktop& operator=(const Win32Desktop&) = delete;

    std::vector<WindowHandle> findWindows(std::string_view className,
                                          std::string_view title) override;
    WindowHandle findWindowByClass(std::string_view className) override;
    WindowHandle findChild(WindowHandle parent, std::string_view className) override;
    bool belongsToThisProcess(WindowHandle window) override;
    std::string windowText(WindowHandle window, std::size_t maxUtf16Units) override;
    Write setWindowText(WindowHandle window, std::string_view text) override;
    std::vector<WindowHandle> topLevelWindows() override;
    std::string className(WindowHandle window, std::size_t maxUtf16Units) override;
    std::vector<WindowReport> takeWindowReports() override;
    bool openUrl(std::string_view url) override;
    std::optional<std::string> wineVersion() override { return wineVersion_; }
    std::optional<std::string> urlSchemeCommand(std::string_view scheme) override;
    std::expected<std::unique_ptr<Browser>, NoBrowser> createBrowser() override;
    void openInDefaultBrowser(std::string_view url) override;
    MemoryStatus memoryStatus() override;
    std::string decimalSeparator() override;
    void pumpEvents() override;
    void waitForEvents(double seconds) override;
    std::unique_ptr<Alarm> setAlarm(double atSeconds, std::function<void()> alarm) override;
    double clockSeconds() override;

  private:
    class AlarmWindow;
    void* made_ = nullptr;     // HWINEVENTHOOK of windows made and gone
    void* renamed_ = nullptr;  // and of windows renamed
    std::unique_ptr<AlarmWindow> alarms_;
    ShellLauncher shell_;  // rings the alarms while it waits, to its very end
    ApartmentThread browsers_;
    std::optional<std::string> wineVersion_;  // none on Windows
    // A window's class never changes, so each is asked of the window system once (under Wine
    // each question is a round trip to its server). Forgotten when a listing no longer shows
    // the window, or when its handle is reported created anew.
    std::unordered_map<WindowHandle, std::u16string> classes_;
};

}  // namespace zorvane::win32
