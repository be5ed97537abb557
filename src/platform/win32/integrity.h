#pragma once
// Whether another program runs with higher rights than ours, asked of its process before we write
// into its windows.

#include <windows.h>

namespace zorvane::win32 {

// True when the process that owns `window` has a higher integrity level than this one (an IM
// client run as administrator, from a program that is not). The system then drops our messages
// to it (User Interface Privilege Isolation) without always saying so. False when either level
// cannot be read: the write is then tried, and its own error tells.
bool runsAboveUs(HWND window);

}  // namespace zorvane::win32
