#include "waits/waits.h"

#include <utility>

namespace zorvane {
namespace {

// Runs `f` when it goes out of scope, however that happens.
template <class F>
struct OnExit {
    F f;
    ~OnExit() { f(); }
};
template <class F>
OnExit(F) -> OnExit<F>;  // clang before 17 deduces no aggregate's arguments

}  // namespace

void pauseseconds(Desktop& desktop, double seconds, const std::function<void()>& then) {
    if (!(seconds > 0)) return then();
    const double due = desktop.clockSeconds() + seconds;
    bool started = false, made = false;
    const auto make = [&] {
        if (std::exchange(started, true)) return;
        // Made, even when it fails: a wait whose step never finished would never end.
        const OnExit finish{[&] { made = true; }};
        then();
    };
    // Set before anything runs that may not return; gone when the wait is, however it ends.
    const auto alarm = desktop.setAlarm(due, make);
    // The clock never jumps back, so the wait ends once the time has passed, midnight or not.
    while (!made) {
        desktop.pumpEvents();
        if (desktop.clockSeconds() >= due) make();
        if (!made) desktop.waitForEvents(due - desktop.clockSeconds());
    }
}

}  // namespace zorvane
