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

const std::vector<ImWindow>& ImWindowWatch::imWindows() {
    const double now = desktop_.clockSeconds();
    if (!lastFullPass_ || now - *lastFullPass_ >= fullPassSeconds) return fullPass();
    for (const WindowReport& report : desktop_.takeWindowReports()) {
        switch (report.kind) {
            case WindowReport::Created:
                // The system may give a gone window's handle to a new one: look at it afresh.
                std::erase_if(known_, [&](const ImWindow& w) { return w.window == report.window; });
                lookAt(report.window);
                break;
            case WindowReport::Renamed:
                lookAt(report.window);
                break;
            case WindowReport::Destroyed:
                std::erase_if(known_, [&](const ImWindow& w) { return w.window == report.window; });
                break;
            case WindowReport::Lost:
                return fullPass();
        }
    }
    // A window is often made first and titled a moment later, and not every system reports
    // renames: one without a caption yet is read again, at little cost, as it is rare.
    for (ImWindow& w : known_) {
        if (w.caption.empty()) w.caption = windowtitle(desktop_, w.window);
    }
    return known_;
}

void ImWindowWatch::lookAt(WindowHandle window) {
    const auto known = std::ranges::find(known_, window, &ImWindow::window);
    if (known != known_.end()) {
        known->caption = windowtitle(desktop_, window);
    } else if (isImWindow(desktop_, window)) {
        // A renamed window not known yet is one whose making was not reported.
        known_.push_back({window, windowtitle(desktop_, window)});
    }
}

const std::vector<ImWindow>& ImWindowWatch::fullPass() {
    // Taken first: a window made or renamed during the look is either in it or reported next time.
    desktop_.takeWindowReports();
    known_.clear();
    for (const WindowHandle window : desktop_.topLevelWindows()) {
        if (isImWindow(desktop_, window)) known_.push_back({window, windowtitle(desktop_, window)});
    }
    lastFullPass_ = desktop_.clockSeconds();
    return known_;
}

}  // namespace zorvane
