#pragma once
// An in-memory desktop for tests: a list of fake windows, a record of every text written and
// every URL handed to the shell, a manual clock, and a pump that runs queued callbacks. This
// is how a test makes a click or a timer tick happen inside a wait, deterministically.

#include <deque>
#include <functional>
#include <list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/desktop.h"

namespace zorvane {

struct ModelWindow {
    WindowHandle handle = 0;
    std::string className;
    std::string title;
    WindowHandle parent = 0;  // 0: a top-level window
    bool ownProcess = false;
};

struct TextWrite {
    WindowHandle window = 0;
    std::string text;
    double at = 0;  // the clock then
};

class ModelDesktop : public Desktop {
  public:
    // Adds a window behind all others (last in z-order) and returns its handle. The system
    // reports a top-level window made, renamed or closed, and any window closed, unless
    // `reportChanges` is off (reports it missed, or never makes).
    WindowHandle addWindow(std::string className, std::string title, WindowHandle parent = 0,
                           bool ownProcess = false);
    // Closes the window and its children; their handles are no windows any more.
    void removeWindow(WindowHandle window);
    // As the window's own program does: gives it another caption.
    void renameWindow(WindowHandle window, std::string title);
    bool reportChanges = true;
    // Reports nobody has taken yet are kept up to this many; then the oldest half goes, and a
    // report says they were lost.
    std::size_t maxReports = 4096;
    // As the system may, the next window made takes the handle of the last one closed.
    bool reuseHandles = false;
    // Moves the window to the front of the z-order.
    void bringToFront(WindowHandle window);
    // How many questions about other windows were asked: enumerations, class and caption
    // reads. Each costs a round trip to the window system on the real desktop.
    int windowQueries() const { return queries_; }
    // Runs `hook` just before question number `number` (as windowQueries counts them) is
    // answered: how a test closes a window between any two questions about it.
    void beforeQuery(int number, std::function<void()> hook) {
        hookAt_ = number;
        hook_ = std::move(hook);
    }

    const std::vector<TextWrite>& writes() const { return writes_; }
    const std::vector<std::string>& openedUrls() const { return urls_; }
    // Windows of a program with higher rights: a write into one is refused, and not recorded.
    std::set<WindowHandle> elevated;
    // Without a handler the shell refuses every URL, and none is recorded.
    bool urlHandler = true;
    // How long the shell takes to take a URL, and the IM client a text. No events run
    // meanwhile; alarms do while the shell works, as the program waits for it at most 2 s. The
    // client takes texts one after another; the program waits maxPeerWriteSeconds at most for
    // one, which then goes in when the client is done with it (and with those before it).
    double urlSeconds = 0;
    double writeSeconds = 0;
    // The IM client has stopped answering: a text written now is not sent to it at all.
    bool clientHangs = false;
    // What the shell's limits follow from: the version of Wine played (none: Windows), and the
    // command lines registered for URL schemes, by scheme.
    std::optional<std::string> wine;
    std::map<std::string, std::string, std::less<>> schemeCommands;

    // The browser automation object works unless `noBrowser` says why not. What happens to the
    // browsers it makes ("new browser", "navigate URL", "show") and every address opened in the
    // default browser ("default browser URL") is logged here, in order, beside what a test adds.
    std::optional<NoBrowser> noBrowser;
    std::vector<std::string> browserLog;

    void setMemory(MemoryStatus status) { memory_ = status; }
    void setDecimalSeparator(std::string separator) { separator_ = std::move(separator); }

    // Runs `event` at the first pump whose clock reading has reached `atSeconds`. Alarms, as the
    // system's timers, come after the events due at the same pump.
    void postAt(double atSeconds, std::function<void()> event);
    // Runs `event` at the next pump.
    void post(std::function<void()> event) { postAt(now_, std::move(event)); }
    int pumpCount() const { return pumps_; }
    std::size_t pendingEvents() const { return events_.size(); }
    void advanceClock(double seconds) { now_ += seconds; }
    double now() const { return now_; }
    // How far the clock moves on each pump; a wait therefore always ends.
    double pumpStep = 0.05;

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
    std::optional<std::string> wineVersion() override { return wine; }
    std::optional<std::string> urlSchemeCommand(std::string_view scheme) override;
    std::expected<std::unique_ptr<Browser>, NoBrowser> createBrowser() override;
    void openInDefaultBrowser(std::string_view url) override;
    MemoryStatus memoryStatus() override { return memory_; }
    std::string decimalSeparator() override { return separator_; }
    void pumpEvents() override;
    // Each pump moves the clock on instead; the time asked for is added up.
    void waitForEvents(double seconds) override { waited_ += seconds; }
    double waitedSeconds() const { return waited_; }
    std::unique_ptr<Alarm> setAlarm(double atSeconds, std::function<void()> alarm) override;
    double clockSeconds() override { return now_; }

  private:
    struct Event {
        double at;
        std::function<void()> run;
    };
    class ModelAlarm;
    ModelWindow* find(WindowHandle handle);
    void countQuery();
    // Moves the clock on by `seconds`, making the alarms that fall due on the way.
    void passTime(double seconds);
    // Makes the alarms due now, earliest first.
    void ringAlarms();
    // The texts the client is done with by now go into their windows, in the order written.
    void land();

    // Front to back; the index finds a window at once on a desktop of thousands.
    std::list<ModelWindow> windows_;
    std::unordered_map<WindowHandle, std::list<ModelWindow>::iterator> byHandle_;
    WindowHandle nextHandle_ = 0x1000;
    std::vector<WindowHandle> closed_;
    std::vector<WindowReport> reports_;
    void report(WindowReport::Kind kind, WindowHandle window);
    int queries_ = 0;
    int hookAt_ = 0;
    std::function<void()> hook_;
    std::vector<TextWrite> writes_;
    std::deque<TextWrite> landing_;  // written, the client still at them; `at` when it is done
    double clientBusyUntil_ = 0;
    std::vector<std::string> urls_;
    MemoryStatus memory_{536870912, 268435456};
    std::string separator_ = ".";
    std::vector<Event> events_;
    struct AlarmEntry {
        double at;
        std::function<void()> ring;
    };
    std::map<int, AlarmEntry> alarms_;  // by the order they were set in
    int nextAlarm_ = 0;
    int pumps_ = 0;
    double waited_ = 0;
    double now_ = 1000.0;
};

}  // namespace zorvane
