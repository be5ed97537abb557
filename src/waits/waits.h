#pragma once
// The program's waits. A wait runs pending events, and what they run may not return for a long
// time: a prompt or message box the user opens stays open with its own loop, and a handler in it
// may wait in turn. So the step that a wait holds for its end has an alarm of its own: the step
// is made when its time is up, from the wait itself or from whichever loop runs the events then,
// and nothing else holds it back: not another wait, not another step, not a box left open.

#include <functional>

#include "platform/desktop.h"

namespace zorvane {

// Makes `then` once `seconds` have passed and returns after it, running pending events
// meanwhile (at least once for any positive wait). Zero or less makes `then` at once without
// running them.
void pauseseconds(Desktop& desktop, double seconds, const std::function<void()>& then);

}  // namespace zorvane
