#include "responder/imwindows.h"

#include <algorithm>

#include "responder/windowutils.h"

namespace zorvane {

namespace {

// The IM client's instant-message windows: their class begins with these 12 characters.
bool isImWindow(Desktop& desktop, WindowHandle window) {
    return classprefix(desktop, window) == "AIM_IMessage";
}

}  // namespace

std::vector<WindowHandle> ImWindowWatch::imWindows() {
    const double now = desktop_.clockSeconds();
    if (!lastFullPass_ || now - *lastFullPass_ >= fullPassSeconds) return fullPass();
    for (const WindowHandle window : desktop_.takeCreatedWindows()) {
        // The system may give a gone window's handle to a new one: look at it afresh.
        std::erase(known_, window);
        if (isImWindow(desktop_, window)) known_.push_back(window);
    }
    std::erase_if(known_, [&](WindowHandle window) { return !desktop_.windowExists(window); });
    return known_;
}

std::vector<WindowHandle> ImWindowWatch::fullPass() {
    // Taken first: a window created during the look is either in it or reported next time.
    desktop_.takeCreatedWindows();
    known_.clear();
    for (const WindowHandle window : desktop_.topLevelWindows()) {
        if (isImWindow(desktop_, window)) known_.push_back(window);
    }
    lastFullPass_ = desktop_.clockSeconds();
    return known_;
}

}  // namespace zorvane
