#pragma once
// The small pieces through which the auto-responder looks at other programs' windows and waits
// without freezing the user interface.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace zorvane {

// Only the start of a class name tells the windows the responder looks for.
inline constexpr std::size_t classPrefixLength = 12;
// Longer captions are cut here: no screen name or dialog title comes near it, and another
// program's window may claim any length.
inline constexpr std::size_t maxCaptionLength = 4096;

// The first 12 UTF-16 units of the window's class name (all of a shorter one); empty when the
// window has gone.
std::string classprefix(Desktop& desktop, WindowHandle window);

// The window's caption as far as it was actually copied; empty for no window or no caption.
std::string windowtitle(Desktop& desktop, WindowHandle window);

// The program's waits. A wait runs pending events, and what they run may not return for a
// long time: a prompt or message box the user opens stays open with its own loop, a handler
// in it may wait in turn. So the step that a wait holds for its end is made when the time is
// up, from the wait itself or from whichever loop runs the events then.
class Waits {
  public:
    explicit Waits(Desktop& desktop) : desktop_(desktop) {}
    ~Waits() { desktop_.setAlarm(0, nullptr); }
    Waits(const Waits&) = delete;
    Waits& operator=(const Waits&) = delete;

    // Makes `then` once `seconds` have passed and returns after it, running pending events
    // meanwhile (at least once for any positive wait). Zero or less makes `then` at once
    // without running them. A wait begun inside another holds the other's step back until its
    // own has been made: the later step answers the text that is in the dialog now.
    void pauseseconds(double seconds, const std::function<void()>& then);

  private:
    struct Due {
        double at = 0;
        const std::function<void()>* step = nullptr;
        bool started = false;
        bool done = false;
    };
    // Makes the innermost wait's step when it is due, then the next one out; otherwise sets
    // the alarm for it.
    void serve();

    Desktop& desktop_;
    std::vector<Due*> pending_;  // innermost last
};

}  // namespace zorvane
