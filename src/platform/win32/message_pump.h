#pragma once
// The program's one way of dispatching a message, shared by the main loop and the waits, so
// that keyboard navigation works the same in both.

#include <windows.h>

namespace zorvane::win32 {

// Lets the message's top-level window handle dialog keys (Tab between controls); otherwise
// translates and dispatches it.
void dispatch(MSG& message);

// Dispatches the messages already waiting, each timer at most once, and returns: what arrives
// meanwhile waits for the next call. A WM_QUIT met here is posted again, so the main loop still
// ends.
void pumpPendingMessages();

}  // namespace zorvane::win32
