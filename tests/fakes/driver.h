#pragma once
// Drives windows from outside, as a user or an automation tool would, and starts the fakes of
// the outside world. Every process and registration made here is undone when its owner goes.
// Clicks are posted, never sent: a click may open a modal window, and a sent message would wait
// until somebody closed it.

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zorvane::driver {

// Polls `condition`, running this thread's messages meanwhile; false if `limit` passes first.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(20));

std::string text(HWND window);  // asked of the window itself: an edit field keeps its own
void type(HWND edit, std::string_view text);  // over all it holds, as a paste would
void click(HWND control);                     // at its centre
void doubleClick(HWND listBox, int item);     // on the item (from 0)
std::vector<std::string> items(HWND listBox);
void appendItem(HWND listBox, std::string_view item);
HWND child(HWND root, int id);  // at any depth; null if none

// A process the test started (its first window shown as `show` asks, as a shortcut would);
// killed and waited for when this goes.
struct Process {
    explicit Process(std::wstring commandLine, WORD show = SW_SHOWDEFAULT);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    PROCESS_INFORMATION info{};
};

// The fake IM client (and media player), registered as the "aim:" handler while it runs.
struct FakeImClient {
    FakeImClient();
    ~FakeImClient() { RegDeleteTreeW(HKEY_CLASSES_ROOT, L"aim"); }
    // What reached it, in order: each URL handed to its handler and each text written into an
    // away dialog; once there are at least `count` (or at the deadline). Record i (from 0) is
    // the log's child with the id i + 1.
    std::vector<std::string> records(std::size_t count = 0) const;
    // Opens a top-level window in the client, shown; a "#32770" one is an away dialog with an
    // edit field. Null if the client does not answer.
    HWND open(std::string_view className, std::string_view title) const;
    Process process;
    HWND log = nullptr;  // holds the records; null if the client did not start in time
};
// When the fake client made the window (a record too), in seconds of the performance counter:
// one clock for every process on the machine.
inline double made(HWND window) { return GetWindowLongPtrW(window, GWLP_USERDATA) / 1e6; }

// The real zorvane.exe under Wine, seen from outside.
struct Zorvane {
    // Starts build/windows/zorvane.exe (or `program`, a path from the test programs' folder),
    // ended when this goes; else finds the one running.
    explicit Zorvane(bool start = true, WORD show = SW_SHOWDEFAULT,
                     const wchar_t* program = L"..\\..\\zorvane.exe");
    HWND control(int id) const { return child(main, id); }
    // Its visible window with this caption, once there is one; null if none shows in time.
    HWND window(std::string_view caption) const;
    // Waits for its dialog (a message box or a prompt) showing `shown`, types `typed` (if any)
    // into its edit field and clicks OK. The dialog's owner once it closed; null if no such
    // dialog showed or it stayed open.
    HWND answer(std::string_view shown, const char* typed = nullptr) const;
    // Clicks the Extra window's "Add" and answers both prompts.
    bool add(HWND extra, const char* name, const char* message) const;

    std::unique_ptr<Process> process;
    DWORD processId = 0;
    HWND main = nullptr;  // null if the main window did not show in time
};

}  // namespace zorvane::driver
