// Acts on the Zorvane already running on this desktop, for the scripts that measure it or take
// pictures of it. Usage: zorvane_drive.exe COMMAND
//   wait          returns once the main window shows
//   extra-sample  opens the Extra window with a few entries in both lists
//   about         opens the About window

#include <cstdio>
#include <string_view>

#include "driver.h"
#include "windows/control_ids.h"

using namespace zorvane;
using namespace zorvane::driver;

int main(int argc, char** argv) {
    const std::string_view command = argc == 2 ? argv[1] : "";
    const Zorvane app(false);
    bool done = app.main && command == "wait";
    if (app.main && command == "about") {
        click(app.control(ids::Label2));
        done = app.window(".:About:.");
    } else if (app.main && command == "extra-sample") {
        // The waiting entries go in through "Add" like a user's; the completed ones are
        // appended as the auto-responder's hand-out would.
        click(app.control(ids::Label9));
        const HWND extra = app.window("Extra");
        done = app.add(extra, "John Doe", "back at 5") &&
               app.add(extra, "Jo Ann", "lunch at one") &&
               app.add(extra, "sam99", "call me - later");
        appendItem(child(extra, ids::List2), "bob-see you at 8");
        appendItem(child(extra, ids::List2), "amyk-gone fishing");
    }
    if (!done) std::fputs("zorvane_drive failed (commands: wait, extra-sample, about)\n", stderr);
    return done ? 0 : 1;
}
