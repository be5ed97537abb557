// Acts on the Zorvane already running on this desktop, for the scripts that measure it or take
// pictures of it. Usage: zorvane_drive.exe COMMAND
//   wait          returns once the main window shows
//   set-away      clicks "Set Away" and returns once the caption reads "Set Back"
//   peak-memory   prints the process's peak working set in KiB, as Windows reports it
//   extra-sample  opens the Extra window with a few entries in both lists

#include <windows.h>

#include <psapi.h>  // after windows.h, which it needs

#include <cstdio>
#include <memory>
#include <string_view>

#include "windows/control_ids.h"
#include "zorvane_driver.h"

namespace {

using namespace zorvane;
using namespace zorvane::e2e;

bool setAway(const Zorvane& app) {
    const HWND label = app.control(ids::Label8);
    click(label);
    return waitUntil([&] { return text(label) == "Set Back"; });
}

bool printPeakMemory(const Zorvane& app) {
    const std::unique_ptr<void, decltype(&CloseHandle)> process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, app.processId()),
        &CloseHandle);
    PROCESS_MEMORY_COUNTERS counters{.cb = sizeof counters};
    if (!process || !GetProcessMemoryInfo(process.get(), &counters, sizeof counters)) return false;
    std::printf("%zu\n", counters.PeakWorkingSetSize / 1024);
    return true;
}

// The waiting entries go in through "Add" like a user's; the completed ones are appended as
// the auto-responder's hand-out would.
bool showExtraSample(const Zorvane& app) {
    click(app.control(ids::Label9));
    const HWND extra = app.waitForExtra();
    if (!extra) return false;
    for (const auto& [name, message] :
         {std::pair{"John Doe", "back at 5"}, std::pair{"Jo Ann", "lunch at one"},
          std::pair{"sam99", "call me - later"}}) {
        if (!app.add(extra, name, message)) return false;
    }
    for (const char* entry : {"bob-see you at 8", "amyk-gone fishing"}) {
        appendItem(child(extra, ids::List2), entry);
    }
    return items(child(extra, ids::List2)).size() == 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view command = argc == 2 ? argv[1] : "";
    const Zorvane app = Zorvane::running();
    if (!app.ready()) {
        std::fputs("Zorvane's main window did not show.\n", stderr);
        return 1;
    }
    bool done = false;
    if (command == "wait") {
        done = true;
    } else if (command == "set-away") {
        done = setAway(app);
    } else if (command == "peak-memory") {
        done = printPeakMemory(app);
    } else if (command == "extra-sample") {
        done = showExtraSample(app);
    } else {
        std::fputs("Usage: zorvane_drive.exe wait|set-away|peak-memory|extra-sample\n", stderr);
        return 2;
    }
    if (!done) std::fprintf(stderr, "zorvane_drive %s failed.\n", argv[1]);
    return done ? 0 : 1;
}
