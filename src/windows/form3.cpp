#include "windows/form3.h"

#include <string_view>

#include "windows/control_ids.h"
#include "windows/form3_layout.h"

namespace zorvane {
namespace {

constexpr std::string_view webSite = "https://www.halvorn.com/";

// A new browser window on the maker's web site, each time. Nothing that fails here is worth a
// message: a step that fails is skipped and the next one runs. The pending events may close
// the About window, so this touches nothing of it.
void openWebSite(Desktop& desktop) {
    const auto browser = desktop.createBrowser();
    if (!browser && browser.error() == NoBrowser::NotRegistered) {
        desktop.openInDefaultBrowser(webSite);
        return;
    }
    if (browser) (*browser)->navigate(webSite);
    // What waited while the browser started (a click, a tick) runs before its window shows.
    desktop.pumpEvents();
    if (browser) (*browser)->setVisible(true);
}

}  // namespace

Form3::Form3(Ui& ui, Desktop& desktop, std::function<void()> onClosed)
    : form_(ui.createForm(form3Layout())) {
    form_->onClick(ids::Form3Label1, [&desktop] { openWebSite(desktop); });
    form_->onClose(std::move(onClosed));
}

}  // namespace zorvane
