#include "platform/win32/win32_desktop.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <optional>
#include <utility>

#include "platform/win32/automation.h"
#include "platform/win32/base_window.h"
#include "platform/win32/integrity.h"
#include "platform/win32/message_pump.h"
#include "platform/win32/wide.h"
#include "text/utf.h"

namespace zorvane::win32 {
namespace {

HWND toHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle toHandle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

// No window's class or caption holds a NUL; a name with one would otherwise be cut short at
// the call and match a different window.
std::optional<std::wstring> windowName(std::string_view utf8) {
    if (utf8.find('\0') != std::string_view::npos) return std::nullopt;
    return widen(utf8);
}

// Another program's window may have stopped answering: a message to it waits this long at most.
constexpr auto peerTimeoutMs = static_cast<UINT>(maxPeerWriteSeconds * 1000);

// At most `units` UTF-16 units of a window's caption, copied from what the system keeps for it.
// Nothing is asked of the window, so one that hangs or lies about its length holds nobody up.
// No caller needs more than 64 K units, and a buffer for a caller's larger limit is never made.
constexpr std::size_t maxCaptionUnits = 65536;
std::wstring caption(HWND window, std::size_t units) {
    std::wstring text(std::min(units, maxCaptionUnits) + 1, L'\0');
    const int copied = InternalGetWindowText(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::clamp(copied, 0, static_cast<int>(text.size()) - 1)));
    return text;
}

// What the system reported of windows, for the one desktop that watches. The system calls the
// hooks without a context of ours, so the list lives here.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables)
std::vector<WindowReport> windowReports;
// A list nobody takes (while nothing is waiting for a buddy) must not grow without bound. Its
// oldest half goes first, and a report says so: the next look is a full one.
constexpr std::size_t maxWindowReports = 4096;

// Runs inside this thread's message pump, once per window made, renamed or gone anywhere on the
// desktop (children too: a gone window has no parent left to tell).
void CALLBACK windowChanged(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                            DWORD) noexcept {
    if (object != OBJID_WINDOW || child != CHILDID_SELF || !window) return;
    const auto kind = event == EVENT_OBJECT_CREATE    ? WindowReport::Created
                      : event == EVENT_OBJECT_DESTROY ? WindowReport::Destroyed
                                                      : WindowReport::Renamed;
    // Only top-level windows are made or renamed here; one already gone is left out too.
    if (kind != WindowReport::Destroyed && GetAncestor(window, GA_PARENT) != GetDesktopWindow())
        return;
    try {
        if (windowReports.size() >= maxWindowReports) {
            windowReports.erase(windowReports.begin(),
                                windowReports.begin() + maxWindowReports / 2);
            windowReports.push_back({WindowReport::Lost, 0});
        }
        windowReports.push_back({kind, toHandle(window)});
    } catch (...) {  // out of memory: the window is found by a full look instead
    }
}

double steadySeconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(now).count();
}

// Wine's ntdll tells its version; Windows' has no such export.
std::optional<std::string> readWineVersion() {
    using Version = const char* (*)();
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
    if (!found) return std::nullopt;
    const char* version = reinterpret_cast<Version>(reinterpret_cast<void (*)()>(found))();
    return version ? version : "";
}

}  // namespace

// A message-only window whose timers make the alarms: every loop that runs this thread's
// messages, a message box's or a dialog's own too, dispatches their WM_TIMER.
class Win32Desktop::AlarmWindow final : public BaseWindow {
  public:
    AlarmWindow() {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW existing{.cbSize = sizeof existing};
        if (!GetClassInfoExW(instance, className, &existing)) {
            const WNDCLASSEXW windowClass{.cbSize = sizeof windowClass,
                                          .lpfnWndProc = BaseWindow::windowProc,
                                          .hInstance = instance,
                                          .lpszClassName = className};
            RegisterClassExW(&windowClass);
        }
        create(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, instance);
    }
    ~AlarmWindow() {
        for (const auto& [id, alarm] : alarms_)
            KillTimer(hwnd(), id);
    }

    UINT_PTR set(double atSeconds, std::function<void()> ring) {
        const UINT_PTR id = ++lastId_;
        alarms_.emplace(id, Entry{atSeconds, std::move(ring)});
        arm(id, atSeconds);
        return id;
    }
    void cancel(UINT_PTR id) {
        if (alarms_.erase(id)) KillTimer(hwnd(), id);
    }
    // Rings the alarms that are due, for a wait of ours that runs no timers; the seconds until
    // the next one.
    double ringDue() {
        for (;;) {
            const auto next = std::ranges::min_element(
                alarms_, {}, [](const auto& alarm) { return alarm.second.at; });
            if (next == alarms_.end()) return HUGE_VAL;
            const double left = next->second.at - steadySeconds();
            if (left > 0) return left;
            ring(next->first);
        }
    }

  protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_TIMER) return DefWindowProcW(hwnd(), message, wParam, lParam);
        const auto alarm = alarms_.find(wParam);
        if (alarm == alarms_.end()) {
            KillTimer(hwnd(), wParam);
        } else if (steadySeconds() < alarm->second.at) {
            arm(wParam, alarm->second.at);  // a timer may come a little early
        } else {
            ring(wParam);
        }
        return 0;
    }

  private:
    struct Entry {
        double at;
        std::function<void()> ring;
    };
    void arm(UINT_PTR id, double atSeconds) {
        const double milliseconds = std::ceil((atSeconds - steadySeconds()) * 1000);
        SetTimer(hwnd(), id,
                 static_cast<UINT>(std::clamp(milliseconds, double{USER_TIMER_MINIMUM}, 6e7)),
                 nullptr);
    }
    // Once: gone from the list before it runs, which may set or cancel others.
    void ring(UINT_PTR id) {
        KillTimer(hwnd(), id);
        const auto alarm = alarms_.find(id);
        const std::function<void()> ring = std::move(alarm->second.ring);
        alarms_.erase(alarm);
        ring();
    }

    static constexpr wchar_t className[] = L"ZorvaneAlarm";
    std::map<UINT_PTR, Entry> alarms_;
    UINT_PTR lastId_ = 0;
};

namespace {

class Win32Alarm final : public Alarm {
  public:
    Win32Alarm(std::function<void(UINT_PTR)> cancel, UINT_PTR id)
        : cancel_(std::move(cancel)), id_(id) {}
    ~Win32Alarm() override { cancel_(id_); }
    Win32Alarm(const Win32Alarm&) = delete;
    Win32Alarm& operator=(const Win32Alarm&) = delete;

  private:
    std::function<void(UINT_PTR)> cancel_;
    UINT_PTR id_;
};

}  // namespace

Win32Desktop::Win32Desktop()
    : made_(SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_DESTROY, nullptr, windowChanged, 0, 0,
                            WINEVENT_OUTOFCONTEXT)),
      renamed_(SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
                               windowChanged, 0, 0, WINEVENT_OUTOFCONTEXT)),
      alarms_(std::make_unique<AlarmWindow>()),
      shell_(ShellLauncher::shellExecute, [this] { return alarms_->ringDue(); }),
      wineVersion_(readWineVersion()) {}

Win32Desktop::~Win32Desktop() {
    for (void* hook : {made_, renamed_}) {
        if (hook) UnhookWinEvent(static_cast<HWINEVENTHOOK>(hook));
    }
    windowReports.clear();
}

std::vector<WindowHandle> Win32Desktop::findWindows(std::string_view className,
                                                    std::string_view title) {
    const auto wideClass = windowName(className);
    const auto wideTitle = windowName(title);
    std::vector<WindowHandle> found;
    if (!wideClass || !wideTitle) return found;
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, wideClass->c_str(), wideTitle->c_str()))) {
        // The system matches captions regardless of case; the program's comparisons are exact.
        // One unit more than the title shows a longer caption.
        if (caption(window, wideTitle->size() + 1) == *wideTitle) found.push_back(toHandle(window));
    }
    return found;
}

WindowHandle Win32Desktop::findWindowByClass(std::string_view className) {
    const auto wideClass = windowName(className);
    return wideClass ? toHandle(FindWindowW(wideClass->c_str(), nullptr)) : 0;
}

WindowHandle Win32Desktop::findChild(WindowHandle parent, std::string_view className) {
    const auto wideClass = windowName(className);
    // A null parent would make this a search of the top-level windows.
    if (parent == 0 || !wideClass) return 0;
    return toHandle(FindWindowExW(toHwnd(parent), nullptr, wideClass->c_str(), nullptr));
}

bool Win32Desktop::belongsToThisProcess(WindowHandle window) {
    DWORD process = 0;
    return GetWindowThreadProcessId(toHwnd(window), &process) != 0 &&
           process == GetCurrentProcessId();
}

std::string Win32Desktop::windowText(WindowHandle window, std::size_t maxUtf16Units) {
    // One unit beyond the limit shows whether the cut would split a surrogate pair; so the limit
    // stays below what is ever read (and a limit of SIZE_MAX cannot wrap round to nothing).
    const std::size_t limit = std::min(maxUtf16Units, maxCaptionUnits - 1);
    if (limit == 0) return {};
    const std::wstring text = caption(toHwnd(window), limit + 1);
    const std::u16string_view units(reinterpret_cast<const char16_t*>(text.data()), text.size());
    return narrow(std::wstring_view(text.data(), firstUtf16Units(units, limit).size()));
}

Write Win32Desktop::setWindowText(WindowHandle window, std::string_view text) {
    if (runsAboveUs(toHwnd(window))) return Write::Refused;
    // Not SMTO_BLOCK: while we wait, messages sent to our own windows are still answered, so a
    // peer that asks us something while handling the write does not stall us both.
    const std::wstring wide = widen(text);
    const double started = steadySeconds();
    SetLastError(ERROR_SUCCESS);
    const LRESULT sent =
        SendMessageTimeoutW(toHwnd(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                            SMTO_ABORTIFHUNG, peerTimeoutMs, nullptr);
    if (sent != 0) return Write::Made;
    switch (GetLastError()) {
        case ERROR_ACCESS_DENIED:
            // The program has higher rights (User Interface Privilege Isolation); Wine says the
            // same of a window whose thread ended while the text was on its way.
            return IsWindow(toHwnd(window)) ? Write::Refused : Write::NoWindow;
        case ERROR_INVALID_WINDOW_HANDLE:
            return Write::NoWindow;
        default:
            // To a program that hangs nothing is sent, and the call returns at once. One that
            // was sent the text and is still at it when the wait is up takes it all the same.
            return steadySeconds() - started < maxPeerWriteSeconds / 2 ? Write::NotAnswering
                                                                       : Write::Made;
    }
}

std::vector<WindowHandle> Win32Desktop::topLevelWindows() {
    std::vector<WindowHandle> windows;
    // The same windows in the same order as EnumWindows, but Wine asks its server once for the
    // whole list instead of once more per window (0.2 ms instead of 30 ms over 2000 windows).
    EnumDesktopWindows(
        GetThreadDesktop(GetCurrentThreadId()),
        [](HWND window, LPARAM found) noexcept -> BOOL {
            try {
                reinterpret_cast<std::vector<WindowHandle>*>(found)->push_back(toHandle(window));
                return TRUE;
            } catch (...) {
                return FALSE;
            }
        },
        reinterpret_cast<LPARAM>(&windows));
    // The classes of windows gone are forgotten.
    std::unordered_map<WindowHandle, std::u16string> listed;
    for (const WindowHandle window : windows) {
        if (const auto known = classes_.find(window); known != classes_.end())
            listed.emplace(window, std::move(known->second));
    }
    classes_ = std::move(listed);
    return windows;
}

std::string Win32Desktop::className(WindowHandle window, std::size_t maxUtf16Units) {
    auto known = classes_.find(window);
    if (known == classes_.end()) {
        // Class names are at most 256 units long.
        wchar_t name[257] = {};
        const int copied = GetClassNameW(toHwnd(window), name, static_cast<int>(std::size(name)));
        if (copied <= 0) return {};
        known = classes_
                    .emplace(window, std::u16string(reinterpret_cast<const char16_t*>(name),
                                                    static_cast<std::size_t>(copied)))
                    .first;
    }
    return toUtf8(firstUtf16Units(known->second, maxUtf16Units));
}

std::vector<WindowReport> Win32Desktop::takeWindowReports() {
    for (const WindowReport& report : windowReports) {
        // A handle reported made or gone may be given to another window: its class is asked anew.
        // Reports lost may have said so of any handle.
        if (report.kind == WindowReport::Lost) classes_.clear();
        if (report.kind != WindowReport::Renamed) classes_.erase(report.window);
    }
    return std::exchange(windowReports, {});
}

bool Win32Desktop::openUrl(std::string_view url) { return shell_.open(widen(url)); }

std::optional<std::string> Win32Desktop::urlSchemeCommand(std::string_view scheme) {
    const std::wstring key = widen(scheme) + L"\\shell\\open\\command";
    constexpr DWORD types = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, types, nullptr, nullptr, &bytes) != 0)
        return std::nullopt;
    std::wstring command(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(command.size() * sizeof(wchar_t));
    // Changed between the two calls: as good as none.
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, types, nullptr, command.data(),
                     &bytes) != 0)
        return std::nullopt;
    command.resize(wcsnlen(command.c_str(), command.size()));
    return narrow(command);
}

std::expected<std::unique_ptr<Browser>, NoBrowser> Win32Desktop::createBrowser() {
    return createInternetExplorer(browsers_);
}

// Through the shell's own thread, like the away command: the shell may wait on a program that
// hangs, or run a message loop that would run our handlers inside the call.
void Win32Desktop::openInDefaultBrowser(std::string_view url) { shell_.open(widen(url), true); }

MemoryStatus Win32Desktop::memoryStatus() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return {};
    return {status.ullTotalPhys, status.ullAvailPhys};
}

std::string Win32Desktop::decimalSeparator() {
    wchar_t separator[8] = {};  // the system allows at most 3 characters and a terminator
    const int written = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator,
                                        static_cast<int>(std::size(separator)));
    if (written <= 1) return ".";
    return narrow(std::wstring_view(separator, written - 1));
}

void Win32Desktop::pumpEvents() { pumpPendingMessages(); }

void Win32Desktop::waitForEvents(double seconds) {
    if (seconds <= 0) return;
    const auto milliseconds = static_cast<DWORD>(std::min(std::ceil(seconds * 1000), 60000.0));
    MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

std::unique_ptr<Alarm> Win32Desktop::setAlarm(double atSeconds, std::function<void()> alarm) {
    const UINT_PTR id = alarms_->set(atSeconds, std::move(alarm));
    return std::make_unique<Win32Alarm>([this](UINT_PTR gone) { alarms_->cancel(gone); }, id);
}

double Win32Desktop::clockSeconds() { return steadySeconds(); }

}  // namespace zorvane::win32
