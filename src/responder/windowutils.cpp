#include "responder/windowutils.h"

#include <algorithm>

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

std::string classprefix(Desktop& desktop, WindowHandle window) {
    return desktop.className(window, classPrefixLength);
}

std::string windowtitle(Desktop& desktop, WindowHandle window) {
    return desktop.windowText(window, maxCaptionLength);
}

void Waits::pauseseconds(double seconds, const std::function<void()>& then) {
    if (!(seconds > 0)) return then();
    Due due{.at = desktop_.clockSeconds() + seconds, .step = &then};
    pending_.push_back(&due);
    // Gone from the list however the wait ends, an exception unwinding it too.
    const OnExit forget{[&] { std::erase(pending_, &due); }};
    serve();  // the alarm is set before anything runs that may not return
    // The clock never jumps back, so the wait ends once the time has passed, midnight or not.
    do {
        desktop_.pumpEvents();
        serve();
        if (!due.done) desktop_.waitForEvents(due.at - desktop_.clockSeconds());
    } while (!due.done);
}

void Waits::serve() {
    while (!pending_.empty()) {
        Due& due = *pending_.back();
        if (due.started) return;  // its step is running: whatever runs inside it comes first
        if (desktop_.clockSeconds() < due.at) return desktop_.setAlarm(due.at, [this] { serve(); });
        due.started = true;
        // Made, even when it fails: a wait whose step never finished would never end.
        const OnExit finish{[&] {
            due.done = true;
            std::erase(pending_, &due);
        }};
        (*due.step)();
    }
}

}  // namespace zorvane
