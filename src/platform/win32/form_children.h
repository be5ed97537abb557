#pragma once
// The child windows of a form, each made as its kind of control needs.

#include <windows.h>

#include <vector>

#include "platform/form.h"
#include "platform/win32/handles.h"

namespace zorvane::win32 {

// Makes the child window of `layout` (any kind but a timer) in `parent`, placed nowhere yet.
// `font` and `height` (in pixels) are what it will be placed with. An image's picture goes
// into `pictures`, which must outlive the window. Throws std::runtime_error when the system
// makes no window.
HWND createChild(HINSTANCE instance, HWND parent, const ControlLayout& layout, HFONT font,
                 int height, std::vector<UniqueBitmap>& pictures);

}  // namespace zorvane::win32
