#pragma once
// Resource ids shared by the program's resource script and the code that loads them.
// (A plain macro: the resource compiler reads this file too.)

#define ZORVANE_ICON 1  // NOLINT(cppcoreguidelines-macro-usage)
