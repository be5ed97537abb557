#include "responder/windowutils.h"

namespace zorvane {

std::string classprefix(Desktop& desktop, WindowHandle window) {
    return desktop.className(window, classPrefixLength);
}

std::string windowtitle(Desktop& desktop, WindowHandle window) {
    return desktop.windowText(window, maxCaptionLength);
}

void pauseseconds(Desktop& desktop, double seconds) {
    if (!(seconds > 0)) return;
    const double start = desktop.clockSeconds();
    // The clock never jumps back, so the wait ends once the time has passed, midnight or not.
    const auto left = [&] { return seconds - (desktop.clockSeconds() - start); };
    do {
        desktop.pumpEvents();
        desktop.waitForEvents(left());
    } while (left() > 0);
}

}  // namespace zorvane
