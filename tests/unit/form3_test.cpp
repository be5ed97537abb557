#include "windows/form3.h"

#include <gtest/gtest.h>

#include "platform/model/model_desktop.h"
#include "platform/model/model_ui.h"
#include "windows/control_ids.h"
#include "windows/form1.h"

namespace zorvane {
namespace {

using Texts = std::vector<std::string>;

// The main window, from which the user opens the About window.
struct Session {
    ModelDesktop desktop;
    ModelUi ui;
    Form1 form1{ui, desktop};

    ModelForm& openAbout() {
        ui.form("Zorvane v1.0").click(ids::Label2);
        return ui.form(".:About:.");
    }
};

TEST(Form3, TheAboutLabelShowsOneAboutWindowAndBuildsItAfreshOnceItWasClosed) {
    Session s;
    ModelForm& about = s.openAbout();
    about.hide();
    EXPECT_EQ(&s.openAbout(), &about);
    EXPECT_TRUE(about.visible());
    about.close();
    EXPECT_EQ(s.ui.forms().size(), 1u);
    EXPECT_TRUE(s.openAbout().visible());
    EXPECT_EQ(s.ui.forms().size(), 2u);
}

TEST(Form3, TheLinkOpensANewBrowserPerClickNavigatingBeforeShowingAndNeverComplains) {
    const std::string navigate = "navigate https://www.halvorn.com/";
    const struct {
        std::optional<NoBrowser> noBrowser;
        Texts perClick;
    } cases[] = {
        {std::nullopt, {"new browser", navigate, "events ran", "show"}},
        {NoBrowser::CannotStart, {"events ran"}},
        {NoBrowser::NotRegistered, {"default browser https://www.halvorn.com/"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.perClick.front());
        Session s;
        s.desktop.noBrowser = c.noBrowser;
        ModelForm& about = s.openAbout();
        Texts expected;
        for (int click = 0; click < 2; ++click) {
            s.desktop.post([&] { s.desktop.browserLog.push_back("events ran"); });
            about.click(ids::Form3Label1);
            expected.insert(expected.end(), c.perClick.begin(), c.perClick.end());
        }
        EXPECT_EQ(s.desktop.browserLog, expected);
        EXPECT_TRUE(about.visible());
        EXPECT_TRUE(s.ui.messageBoxes().empty());
    }
    // The user closes the About window while the link lets events run.
    Session s;
    ModelForm& about = s.openAbout();
    s.desktop.post([&] { about.close(); });
    about.click(ids::Form3Label1);
    EXPECT_EQ(s.desktop.browserLog, (Texts{"new browser", navigate, "show"}));
    EXPECT_EQ(s.ui.forms().size(), 1u);
}

}  // namespace
}  // namespace zorvane
