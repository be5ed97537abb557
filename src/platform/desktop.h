#pragma once
// The outside world as the program sees it: other programs' windows, the shell, the memory
// status, the user's locale, the event pump and the clock. win32/ calls the real system;
// model/ is an in-memory desktop for tests.

#include <cstddef>
#include <cstdint>
#include <expected>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvane {

// Opaque handle of a window of any process; 0 is no window.
using WindowHandle = std::uintptr_t;

struct WindowReport {
    enum Kind {
        Created,
        Renamed,
        Destroyed,
        Lost,  // reports were lost here: anything may have happened (no window)
    };
    Kind kind;
    WindowHandle window;
    bool operator==(const WindowReport&) const = default;
};

struct MemoryStatus {
    std::uint64_t totalPhys = 0;  // bytes
    std::uint64_t availPhys = 0;  // bytes
};

// A window of the system's web browser, made through its automation object; hidden until shown.
// A call that fails is ignored: the browser is another program, and nothing it refuses matters
// to ours.
class Browser {
  public:
    virtual ~Browser() = default;
    virtual void navigate(std::string_view url) = 0;
    virtual void setVisible(bool visible) = 0;
};

// What became of a text written into another program's window.
enum class Write {
    // The window's program has it. One that was still at it when the wait was up goes on and
    // takes it: no window procedure stops halfway, so the text goes in a little later.
    Made,
    NoWindow,      // there was none to write into: nothing was written
    Refused,       // the window's program runs with higher rights (as administrator)
    NotAnswering,  // the window's program has stopped answering (hangs): nothing was sent
};

// An alarm set on the desktop; it will not go off once this has gone.
class Alarm {
  public:
    virtual ~Alarm() = default;
};

// The longest a write into another program's window holds this thread: no events run
// meanwhile, so a buddy's message may stay this much past its half second.
inline constexpr double maxPeerWriteSeconds = 0.25;

enum class NoBrowser {
    NotRegistered,  // this system has no such automation class
    CannotStart,    // it has one, but it failed to start
};

class Desktop {
  public:
    virtual ~Desktop() = default;

    // Top-level windows with exactly this class and this whole caption, front to back.
    virtual std::vector<WindowHandle> findWindows(std::string_view className,
                                                  std::string_view title) = 0;
    // The first top-level window of this class, whatever its caption; 0 when there is none.
    virtual WindowHandle findWindowByClass(std::string_view className) = 0;
    // The first child of `parent` with this class; 0 when there is none or `parent` is 0.
    virtual WindowHandle findChild(WindowHandle parent, std::string_view className) = 0;
    virtual bool belongsToThisProcess(WindowHandle window) = 0;
    // The window's caption, at most `maxUtf16Units` UTF-16 units of it (never half a pair).
    virtual std::string windowText(WindowHandle window, std::size_t maxUtf16Units) = 0;
    // Waits for the window's program at most maxPeerWriteSeconds; not at all for one that hangs.
    virtual Write setWindowText(WindowHandle window, std::string_view text) = 0;

    // Every top-level window, front to back, as the system enumerates them.
    virtual std::vector<WindowHandle> topLevelWindows() = 0;
    // The window's class name, at most `maxUtf16Units` UTF-16 units of it; empty when it is no
    // window. A window's class never changes, so it may be remembered: a window that has just
    // gone may still give its class.
    virtual std::string className(WindowHandle window, std::size_t maxUtf16Units) = 0;
    // What the system reported of top-level windows since the last call, oldest first: made,
    // renamed, gone (of any window: a child's too). A report may be missed (some systems make
    // none of renames and closes) and the window may be gone already: the list is a hint, not the
    // truth. Asks nothing of the window system.
    virtual std::vector<WindowReport> takeWindowReports() = 0;

    // Hands a URL to the shell, which starts the handler registered for its scheme, hidden.
    // False when the shell said at once that it could not (no handler, say). The shell may take
    // a while: only alarms run meanwhile.
    virtual bool openUrl(std::string_view url) = 0;
    // The version of Wine the program runs on; none on Windows.
    virtual std::optional<std::string> wineVersion() = 0;
    // The command line registered for URLs of the scheme ("aim", say), unexpanded, as the shell
    // reads it; none when no program is registered. Read anew each time: the program may be
    // installed, or moved, while we run.
    virtual std::optional<std::string> urlSchemeCommand(std::string_view scheme) = 0;
    // A new window of the browser automation class "InternetExplorer.Application". Neither this
    // nor a call on the browser waits for it to start.
    virtual std::expected<std::unique_ptr<Browser>, NoBrowser> createBrowser() = 0;
    // Opens the address in the user's default browser, shown; silent when that fails.
    virtual void openInDefaultBrowser(std::string_view url) = 0;

    virtual MemoryStatus memoryStatus() = 0;
    // The user's decimal separator, e.g. "." or ",".
    virtual std::string decimalSeparator() = 0;

    // Runs every event already waiting (timer ticks, clicks) before it returns.
    virtual void pumpEvents() = 0;
    // Sleeps until an event is waiting or `seconds` have passed, so a wait does not spin.
    virtual void waitForEvents(double seconds) = 0;
    // Runs `alarm` once the clock has reached `atSeconds`, from whichever loop runs this
    // thread's events then: the pump, the main loop, a message box's or a prompt's loop, or the
    // wait for the shell to take a URL. Any number may be set at once; each is cancelled when
    // the object returned for it goes. COM's own modal loop runs none, so nothing here enters it.
    virtual std::unique_ptr<Alarm> setAlarm(double atSeconds, std::function<void()> alarm) = 0;
    // Seconds since an arbitrary start; never jumps back (no midnight wrap).
    virtual double clockSeconds() = 0;
};

}  // namespace zorvane
