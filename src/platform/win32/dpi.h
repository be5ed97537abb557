#pragma once
// Pixels at a window's own DPI: the one conversion from layout units that every window's layout
// goes through, and fonts scaled the same way.

#include <windows.h>

#include "platform/form.h"
#include "platform/win32/handles.h"

namespace zorvane::win32 {

// The DPI the window is shown at: its monitor's, where the system scales per monitor.
UINT dpiOf(HWND window);

// Edges are converted rather than sizes, so controls that meet in the layout meet on screen.
RECT toPixels(const Rect& rect, LayoutUnit unit, UINT dpi);

// The outer size of `window` (its styles) around a client area of `client` pixels at `dpi`.
SIZE outerSize(const RECT& client, HWND window, UINT dpi);

UniqueFont createFont(const Font& font, UINT dpi);
// The font of message boxes and dialogs, for a window that names none of its own.
UniqueFont createDialogFont(UINT dpi);

}  // namespace zorvane::win32
