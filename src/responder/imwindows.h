#pragma once
// Which top-level windows are the IM client's instant-message windows, known without asking
// about every window on the desktop at every tick. A window's class never changes, so one full
// look at the desktop plus the windows created since tells them all. Creation reports can be
// missed, so the full look is repeated every few seconds as a safety net.

#include <optional>
#include <vector>

#include "platform/desktop.h"

namespace zorvane {

class ImWindowWatch {
  public:
    // How old the last full look may be before the next one.
    static constexpr double fullPassSeconds = 3.0;

    explicit ImWindowWatch(Desktop& desktop) : desktop_(desktop) {}

    // The IM windows that exist, in the desktop's order as of the last full look; the ones
    // created since come after.
    std::vector<WindowHandle> imWindows();
    // Looks at every top-level window now: the IM windows in the desktop's order.
    std::vector<WindowHandle> fullPass();

  private:
    Desktop& desktop_;
    std::vector<WindowHandle> known_;
    std::optional<double> lastFullPass_;
};

}  // namespace zorvane
