#pragma once
// UTF-16 exists only here, at the Win32 edge.

#include <windows.h>

#include <string>
#include <string_view>

namespace zorvane::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// A window's whole text (its caption, or a control's content), asked of the window itself: for
// our own windows only, as another program's may never answer.
std::wstring wideWindowText(HWND window);

}  // namespace zorvane::win32
