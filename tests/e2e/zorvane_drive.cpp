// Acts on the Zorvane already running on this desktop, for the scripts that measure it or take
// pictures of it. Usage: zorvane_drive.exe COMMAND
//   wait          returns once the main window shows
//   extra-sample  opens the Extra window with a few entries in both lists
//   about         opens the About window

#include <windows.h>

#include <cstdio>
#include <string_view>

#include "driver.h"
#include "windows/control_ids.h"

namespace {

using namespace zorvane;
using namespace zorvane::driver;

// The waiting entries go in through "Add" like a user's; the completed ones are appended as
// the auto-responder's hand-out would.
bool showExtraSample(const Zorvane& app) {
    click(app.control(ids::Label9));
    const HWND extra = app.window("Extra");
    for (const auto& [name, message] :
         {std::pair{"John Doe", "back at 5"}, std::pair{"Jo Ann", "lunch at one"},
          std::pair{"sam99", "call me - later"}}) {
        if (!app.add(extra, name, message)) return false;
    }
    for (const char* entry : {"bob-see you at 8", "amyk-gone fishing"})
        appendItem(child(extra, ids::List2), entry);
    return items(child(extra, ids::List2)).size() == 2;
}

bool showAbout(const Zorvane& app) {
    click(app.control(ids::Label2));
    return app.window(".:About:.") != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view command = argc == 2 ? argv[1] : "";
    const Zorvane running(false);
    const bool done = running.main && (command == "wait" ||
                                       (command == "extra-sample" && showExtraSample(running)) ||
                                       (command == "about" && showAbout(running)));
    if (!done) {
        std::fprintf(stderr,
                     "zorvane_drive \"%s\" failed (is Zorvane running? commands: wait, "
                     "extra-sample, about)\n",
                     command.data());
    }
    return done ? 0 : 1;
}
