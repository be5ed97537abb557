// A real soak under Wine: Zorvane away for some minutes while the fake IM client, another
// process, opens and closes IM windows (200 in ten minutes), and a message waits for most of
// their buddies, queued through the Extra window's "Add" like a user's. Prints Zorvane's working
// set at the start and the end and accounts for every entry: handed out once (in "Send
// Complete:" and written into the away dialog once), still waiting, or lost. Started by
// bench/soak-wine.sh with the running Zorvane's Linux process and the minutes to run.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "driver.h"
#include "windows/control_ids.h"

namespace {

using namespace zorvane;
using namespace zorvane::driver;

// A figure of /proc/PID/status in KiB, e.g. VmRSS (Wine's working set) or VmHWM (its peak).
long memoryKiB(const std::string& pid, const std::string& field) {
    std::ifstream status("Z:\\proc\\" + pid + "\\status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field + ":")) return std::atol(line.c_str() + field.size() + 1);
    }
    return -1;
}

// Seconds on a clock that never jumps back.
double counterSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Runs this thread's messages until `seconds` on that clock.
void pumpUntil(double seconds) {
    waitUntil([&] { return counterSeconds() >= seconds; });
}

struct Window {
    HWND handle;
    double closeAt;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: soak_bench ZORVANE_PID MINUTES\n");
        return 2;
    }
    const std::string pid = argv[1];
    const double minutes = std::atof(argv[2]);
    const int windows = static_cast<int>(200 * minutes / 10);

    FakeImClient client;
    const Zorvane app(false);
    if (!client.open("#32770", "Away Message") || !app.main) {
        std::fprintf(stderr, "The fake IM client or Zorvane did not start.\n");
        return 1;
    }
    // A dynamic message, so the minute refresh runs too.
    type(app.control(ids::awaym), "away for %u min");
    click(app.control(ids::Label8));
    click(app.control(ids::Label9));
    const HWND extra = app.window("Extra");
    const HWND List1 = child(extra, ids::List1), List2 = child(extra, ids::List2);
    if (!waitUntil([&] { return text(app.control(ids::Label8)) == "Set Back"; }) || !List1) {
        std::fprintf(stderr, "Zorvane did not go away or show its Extra window.\n");
        return 1;
    }
    const long startSet = memoryKiB(pid, "VmRSS");

    std::mt19937 random(1);
    const auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<>(low, high)(random);
    };
    const double start = counterSeconds(), period = minutes * 60 / windows;
    std::vector<std::string> queued;  // entries, each with a message of its own
    std::vector<Window> open;
    const auto closeDue = [&](double now) {
        std::erase_if(open, [&](const Window& w) {
            if (w.closeAt > now) return false;
            PostMessageW(w.handle, WM_CLOSE, 0, 0);
            return true;
        });
    };
    for (int i = 0; i < windows; ++i) {
        pumpUntil(start + i * period);
        closeDue(counterSeconds());
        const std::string buddy = "buddy" + std::to_string(random() % 30);
        const auto waiting = items(List1);
        const bool hasEntry = std::ranges::any_of(
            waiting, [&](const std::string& entry) { return entry.starts_with(buddy + "-"); });
        // Two buddies in three have a message waiting when their window opens.
        if (!hasEntry && random() % 3 != 0) {
            const std::string message = "message " + std::to_string(i) + " for " + buddy;
            if (!app.add(extra, buddy.c_str(), message.c_str())) {
                std::fprintf(stderr, "Adding an entry through the Extra window failed.\n");
                return 1;
            }
            queued.push_back(buddy + "-" + message);
        }
        const HWND window = client.open("AIM_IMessage", buddy + " - Instant Message");
        if (!window) {
            std::fprintf(stderr, "The fake IM client did not open a window.\n");
            return 1;
        }
        open.push_back({window, counterSeconds() + uniform(5, 20)});
    }
    // The last windows live out their time too, then the last hand-outs finish their wait.
    while (!open.empty()) {
        pumpUntil(counterSeconds() + 1);
        closeDue(counterSeconds());
    }
    pumpUntil(counterSeconds() + 2);
    const long endSet = memoryKiB(pid, "VmRSS"), peakSet = memoryKiB(pid, "VmHWM");

    // Every queued entry is handed out once: in "Send Complete:", no longer waiting, and its
    // message written into the away dialog once.
    const auto records = client.records();
    const auto waitingAtEnd = items(List1), complete = items(List2);
    int handedOut = 0, waiting = 0, lost = 0, repeated = 0;
    for (const std::string& entry : queued) {
        const std::string message = entry.substr(entry.find('-') + 1);
        const auto inWaiting = std::ranges::count(waitingAtEnd, entry);
        const auto inComplete = std::ranges::count(complete, entry);
        const auto written = std::ranges::count(records, message);
        if (inComplete > 1 || written > 1) {
            ++repeated;
        } else if (inComplete == 1 && written == 1 && inWaiting == 0) {
            ++handedOut;
        } else if (inWaiting == 1 && inComplete == 0 && written == 0) {
            std::printf("still waiting: %s\n", entry.c_str());
            ++waiting;
        } else {
            ++lost;
        }
    }
    // Each hand-out writes the general away message back half a second after the buddy's.
    const auto writtenBack = std::ranges::count_if(
        records, [](const std::string& record) { return record.starts_with("away for "); });
    std::printf(
        "Soak under Wine: %.0f min away, %d IM windows opened and closed by another "
        "process\n",
        minutes, windows);
    std::printf(
        "entries queued %zu: handed out once %d, still waiting %d, lost %d, handed out "
        "more than once %d; away message written back %d times\n",
        queued.size(), handedOut, waiting, lost, repeated, static_cast<int>(writtenBack));
    std::printf("working set (VmRSS): %ld KiB at the start, %ld KiB at the end; peak %ld KiB\n",
                startSet, endSet, peakSet);
    std::printf("%.0f s in all\n", counterSeconds() - start);
    return lost == 0 && repeated == 0 && writtenBack == handedOut ? 0 : 1;
}
