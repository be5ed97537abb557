#pragma once
// The small pieces through which the auto-responder looks at other programs' windows.

#include <cstddef>
#include <string>

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

}  // namespace zorvane
