#pragma once
// Which top-level windows are the IM client's instant-message windows, and their captions,
// known without asking the window system anything at a tick. A window's class never changes,
// so one full look at the desktop plus the system's reports of windows made, renamed and gone
// tell them all. Reports can be missed (some systems make none of renames and closes), so the
// full look, captions included, is repeated every few seconds as a safety net.

#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace zorvane {

struct ImWindow {
    WindowHandle window;
    std::string caption;  // as last read
};

class ImWindowWatch {
  public:
    // How old the last full look may be before the next one.
    static constexpr double fullPassSeconds = 3.0;

    explicit ImWindowWatch(Desktop& desktop) : desktop_(desktop) {}

    // The IM windows, in the desktop's order as of the last full look; the ones made since come
    // after. Asks the window system only about windows reported made or renamed. Valid until the
    // next call.
    const std::vector<ImWindow>& imWindows();
    // Looks at every top-level window now, and reads each IM window's caption afresh.
    const std::vector<ImWindow>& fullPass();

  private:
    // A window reported made or renamed: an IM window's caption is read again.
    void lookAt(WindowHandle window);

    Desktop& desktop_;
    std::vector<ImWindow> known_;
    std::optional<double> lastFullPass_;
};

}  // namespace zorvane
