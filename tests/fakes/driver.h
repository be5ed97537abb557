#pragma once
// Drives windows from outside, as a user or an automation tool would, and starts the fakes of
// the outside world. Every process and registration made here is undone when its owner goes.
// Clicks are posted, never sent: a click may open a modal window, and a sent message would wait
// until somebody closed it.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorvane::driver {

// Polls `condition`, running this thread's messages meanwhile; false if 20 s pass first.
bool waitUntil(const std::function<bool()>& condition);

std::string text(HWND window);  // asked of the window itself: an edit field keeps its own
std::string className(HWND window);
void type(HWND edit, std::string_view text);
void paste(HWND edit, std::string_view text);  // as Ctrl+V does, over the selection
void press(HWND control, WPARAM key);          // down and up, as if `control` had the focus
// The control with the keyboard focus in the thread of `window`; null if none.
HWND focus(HWND window);
void click(HWND control);  // a left click at the control's centre
void clickItem(HWND listBox, int index, bool twice = false);
std::vector<std::string> items(HWND listBox);
void appendItem(HWND listBox, std::string_view item);
// The first descendant, at any depth, with this control id (or that `matches`); null if none.
HWND child(HWND root, int id);
HWND child(HWND root, const std::function<bool(HWND)>& matches);

// The performance counter in seconds: one clock for every process on the machine.
double counterSeconds();

// A process the test started (its first window shown as `show` asks, as a shortcut would);
// killed and waited for when this goes.
struct Process {
    explicit Process(std::wstring commandLine, WORD show = SW_SHOWDEFAULT);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    PROCESS_INFORMATION info{};
};

// The fake IM client (and media player) with top-level windows of these classes and titles, and
// registered as the "aim:" handler while it runs. A "#32770" window is an away dialog with an
// edit field. The registration is removed and the process ended when this goes.
using FakeWindows = std::vector<std::pair<std::string, std::string>>;  // class, title
struct FakeImClient {
    explicit FakeImClient(const FakeWindows& windows = {});
    ~FakeImClient() { RegDeleteTreeW(HKEY_CLASSES_ROOT, L"aim"); }
    // What reached it, in order: each URL handed to its handler and each text written into an
    // away dialog; once there are at least `count` (or at the deadline).
    std::vector<std::string> records(std::size_t count = 0) const;
    // When record `index` (from 0) arrived, and when the client made `window`, in
    // counterSeconds().
    double arrival(std::size_t index) const;
    static double made(HWND window);
    // Opens one more top-level window in the client while it runs; null if it does not answer.
    HWND open(std::string_view className, std::string_view title) const;
    Process process;
    HWND log = nullptr;  // holds the records; null if the client did not start in time
};

// The real zorvane.exe under Wine, seen from outside.
struct Zorvane {
    // Starts build/windows/zorvane.exe, ended when this goes; else finds the one running.
    explicit Zorvane(bool start = true, WORD show = SW_SHOWDEFAULT);
    HWND control(int id) const { return child(main, id); }
    // Its visible window with this caption, once there is one; null if none shows in time.
    HWND window(std::string_view caption) const;
    // Its visible dialog (a message box or a prompt) showing `shown`; null if none shows.
    HWND dialog(std::string_view shown) const;
    // Types `typed` (if any) into the dialog's edit field and clicks `button`; true once closed.
    bool answer(HWND dialog, const char* typed = nullptr, int button = IDOK) const;
    // Clicks the Extra window's "Add" and answers both prompts with `button`.
    bool add(HWND extra, const char* name, const char* message, int button = IDOK) const;

    std::unique_ptr<Process> process;
    DWORD processId = 0;
    HWND main = nullptr;  // null if the main window did not show in time
};

}  // namespace zorvane::driver
