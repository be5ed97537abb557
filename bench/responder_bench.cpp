// What Zorvane costs under Wine while it is away, with and without a buddy's message waiting,
// beside 0, 500 and 2000 top-level windows of another program, and beside three conversations
// with buddies who have no entry while 1, 20 and 200 entries wait; and how soon a buddy's message
// reaches the away dialog once the buddy's window opens. Started by bench/measure.sh with the
// Linux process ids of the running Zorvane, of the prefix's wineserver and of the benchmark
// itself (under Wine, /proc/self is the server's), and the seconds to measure each case. CPU time
// is read from /proc (through drive Z:).

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "driver.h"
#include "platform/win32/win32_form.h"
#include "windows/control_ids.h"

namespace {

using namespace zorvane;
using namespace zorvane::driver;

// Time on a CPU of all threads of a Linux process, in seconds: the nanoseconds the scheduler
// counts, not the ticks sampled in /proc/PID/stat, which at well under 1% of a core are too few.
double cpuSeconds(const std::string& pid) {
    const std::string tasks = "Z:\\proc\\" + pid + "\\task\\";
    WIN32_FIND_DATAA task;
    const HANDLE search = FindFirstFileA((tasks + "*").c_str(), &task);
    if (search == INVALID_HANDLE_VALUE) return 0;
    double nanoseconds = 0;
    do {
        if (task.cFileName[0] == '.') continue;
        std::ifstream schedstat(tasks + task.cFileName + "\\schedstat");
        double onCpu = 0;
        if (schedstat >> onCpu) nanoseconds += onCpu;
    } while (FindNextFileA(search, &task));
    FindClose(search);
    return nanoseconds / 1e9;
}

// Seconds on a clock that never jumps back.
double counterSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Settings {
    std::string zorvane, server, me;  // Linux process ids
    double seconds = 30;
};

// Measures `process` and the wineserver while `during` runs (or for the set seconds), and
// prints their CPU use, how often `ticks` moved each second and, given the idle timer's CPU
// use, the process's as a multiple of it. Returns the process's CPU use.
template <class During, class Ticks>
double measure(const Settings& s, const char* what, const std::string& process, During during,
               Ticks ticks, double idleTimer = 0) {
    const double p0 = cpuSeconds(process), s0 = cpuSeconds(s.server);
    const long long t0 = ticks();
    const double start = counterSeconds();
    during();
    const double seconds = counterSeconds() - start;
    const double p1 = cpuSeconds(process), s1 = cpuSeconds(s.server);
    const long long t1 = ticks();
    const auto percent = [&](double used) { return 100 * used / seconds; };
    std::printf("%-46s %8.2f%% %8.2f%% %8.1f", what, percent(p1 - p0), percent(s1 - s0),
                (t1 - t0) / seconds);
    if (idleTimer > 0) std::printf(" %7.1fx", percent(p1 - p0) / idleTimer);
    std::printf("\n");
    std::fflush(stdout);
    return percent(p1 - p0);
}

// A window of this program with an idle 1 ms timer, pumped for `seconds`: what any program
// with a window on screen that ticks as often as Zorvane's scan pays. (Wine looks for events of
// the display at every wait of a thread that has such a window.)
void idleTimer(double seconds, long long& ticks) {
    const HWND window =
        CreateWindowExW(0, L"Static", L"Idle 1 ms timer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                        200, 100, nullptr, nullptr, nullptr, nullptr);
    SetTimer(window, 1, 1, nullptr);
    const double end = counterSeconds() + seconds;
    MSG message;
    while (counterSeconds() < end && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER) ++ticks;
        DispatchMessageW(&message);
    }
    DestroyWindow(window);
}

// The time from the creation of each buddy's window to the first write into the away dialog.
void handouts(FakeImClient& client, HWND List1, const char* what) {
    std::vector<double> delays;
    for (int i = 1; i <= 20; ++i) {
        const std::string name = "buddy" + std::to_string(i), message = "hello " + name;
        appendItem(List1, name + "-" + message);
        const std::size_t before = client.records().size();
        const HWND window = client.open("AIM_IMessage", name + " - Instant Message");
        // The buddy's message and the write after it, so that the next window is not opened
        // inside this one's wait (where it waits its turn). Counted from the buddy's message: a
        // write of Set Away's that comes late must not pass for it.
        std::vector<std::string> records;
        auto first = records.cend();
        const bool arrived = waitUntil([&] {
            records = client.records();
            first = std::find(records.cbegin() + static_cast<std::ptrdiff_t>(before),
                              records.cend(), message);
            return first != records.cend() && first + 1 != records.cend();
        });
        if (!arrived) {
            std::printf("%s: hand-out %d did not arrive\n", what, i);
            return;
        }
        delays.push_back(
            made(GetDlgItem(client.log, static_cast<int>(first - records.begin()) + 1)) -
            made(window));
        PostMessageW(window, WM_CLOSE, 0, 0);
        waitUntil([&] { return !IsWindow(window); });
    }
    std::ranges::sort(delays);
    std::printf("creation to first write, 20 hand-outs, %s: median %.1f ms, worst %.1f ms\n", what,
                1000 * (delays[9] + delays[10]) / 2, 1000 * delays.back());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: responder_bench ZORVANE_PID WINESERVER_PID OWN_PID SECONDS\n");
        return 2;
    }
    const Settings s{argv[1], argv[2], argv[3], std::atof(argv[4])};
    FakeImClient client;
    const Zorvane app(false);
    if (!client.open("#32770", "Away Message") || !app.main) {
        std::fprintf(stderr, "The fake IM client or Zorvane did not start.\n");
        return 1;
    }
    const UINT ticksMessage = RegisterWindowMessageW(win32::timerTicksMessage);
    const auto scans = [&] {
        DWORD_PTR ticks = 0;
        SendMessageTimeoutW(app.main, ticksMessage, ids::Timer2, 0, SMTO_ABORTIFHUNG, 10000,
                            &ticks);
        return static_cast<long long>(ticks);
    };
    const auto wait = [&] { Sleep(static_cast<DWORD>(s.seconds * 1000)); };

    std::printf("Zorvane under Wine, %.0f s a case; CPU time (from /proc) as %% of one core\n",
                s.seconds);
    std::printf("%-46s %9s %9s %8s %8s\n", "", "program", "server", "ticks/s", "x timer");
    // Measured right before each of Zorvane's away cases, as the figures wander in a long run
    // (under Wine they grow over minutes, the timer's own too), and again once it is back.
    const auto idleTimerAlone = [&] {
        long long ticks = 0;
        return measure(
            s, "(for comparison) an idle 1 ms timer of our own", s.me,
            [&] { idleTimer(s.seconds, ticks); }, [&] { return ticks; });
    };
    const auto setAwayOrBack = [&](const char* becomes) {
        click(app.control(ids::Label8));
        return waitUntil([&] { return text(app.control(ids::Label8)) == becomes; });
    };

    measure(s, "Zorvane idle (not away)", s.zorvane, wait, scans);
    const auto away = [&](const std::string& what) {
        const double timer = idleTimerAlone();
        measure(s, what.c_str(), s.zorvane, wait, scans, timer);
    };
    click(app.control(ids::Label9));
    const HWND extra = app.window("Extra");
    const HWND List1 = child(extra, ids::List1);
    if (!List1 || !setAwayOrBack("Set Back")) {
        std::fprintf(stderr, "Zorvane did not go away or show its Extra window.\n");
        return 1;
    }
    // One buddy waiting and no conversation open: what an IM window open costs is the
    // difference to the cases below.
    appendItem(List1, "nobody-is here");
    away("away, no IM window, 1 waiting");
    // An afternoon away: three conversations open, none of them with a buddy who has an entry.
    // What a tick costs must not grow with the waiting list, nor with the windows.
    std::vector<HWND> talks;
    for (const char* buddy : {"carol", "dave", "erin"})
        talks.push_back(client.open("AIM_IMessage", buddy + std::string(" - Instant Message")));
    for (const int entries : {1, 20, 200}) {
        SendMessageW(List1, LB_RESETCONTENT, 0, 0);
        for (int i = 0; i < entries; ++i)
            appendItem(List1, "nobody" + std::to_string(i) + "-is here");
        away("away, 3 IM windows of others, " + std::to_string(entries) + " waiting");
    }
    for (const HWND window : talks)
        PostMessageW(window, WM_CLOSE, 0, 0);
    waitUntil([&] { return std::ranges::none_of(talks, IsWindow); });

    std::vector<HWND> others;
    for (const std::size_t count : {0, 500, 2000}) {
        while (others.size() < count)
            others.push_back(client.open("BenchWindow", "Window " + std::to_string(others.size())));
        for (const bool waiting : {false, true}) {
            SendMessageW(List1, LB_RESETCONTENT, 0, 0);
            if (waiting) appendItem(List1, "nobody-is here");
            away(std::string("away, ") + (waiting ? "one entry waiting, " : "List1 empty, ") +
                 std::to_string(count) + " windows");
        }
    }
    SendMessageW(List1, LB_RESETCONTENT, 0, 0);
    setAwayOrBack("Set Away");
    idleTimerAlone();

    setAwayOrBack("Set Back");
    handouts(client, List1, "2000 other windows");
    for (const HWND window : others)
        PostMessageW(window, WM_CLOSE, 0, 0);
    waitUntil([&] { return std::ranges::none_of(others, IsWindow); });
    handouts(client, List1, "no other windows");
    return 0;
}
