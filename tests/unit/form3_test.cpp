// The About window and its link.
#include <gtest/gtest.h>

#include "session.h"

namespace zorvane {
namespace {

TEST(Form3, OneAboutWindowWhoseLinkOpensANewBrowserPerClickNavigatingBeforeShowingSilently) {
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
        ModelForm& about = s.open(ids::Label2, ".:About:.");
        Texts expected;
        for (int click = 0; click < 2; ++click) {
            s.desktop.post([&] { s.desktop.browserLog.push_back("events ran"); });
            about.click(ids::Form3Label1);
            expected.insert(expected.end(), c.perClick.begin(), c.perClick.end());
        }
        EXPECT_EQ(s.desktop.browserLog, expected);
        about.hide();
        EXPECT_EQ(&s.open(ids::Label2, ".:About:."), &about);
        EXPECT_TRUE(about.visible() && s.ui.messageBoxes().empty());
    }
    // The user closes the About window while the link lets events run; the next click builds
    // it afresh.
    Session s;
    ModelForm& about = s.open(ids::Label2, ".:About:.");
    s.desktop.post([&] { about.close(); });
    about.click(ids::Form3Label1);
    EXPECT_EQ(s.desktop.browserLog, (Texts{"new browser", navigate, "show"}));
    EXPECT_EQ(s.ui.forms().size(), 1u);
    EXPECT_TRUE(s.open(ids::Label2, ".:About:.").visible());
}

}  // namespace
}  // namespace zorvane
