#include "windows/form1.h"

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "platform/model/model_desktop.h"
#include "platform/model/model_ui.h"
#include "text/utf.h"
#include "windows/control_ids.h"

namespace zorvane {
namespace {

const std::string countDownProblem = "Count Down must be a whole number from -32767 to 32767.";
const std::string countUpProblem =
    "Count Up cannot go past 32767. Set Back and Set Away again to restart it.";
const std::string tooLongProblem =
    "The away message is too long to hand to the IM client (at most 32000 characters).";
const std::string placeholderCommand = "aim:goaway?message=</title>Zorvane</title><";

std::string command(std::string_view message) {
    return "aim:goaway?message=<title>Zorvane</title>" + std::string(message);
}

// Calls `onSend` as each away command or dialog text leaves, so a test sees the state then.
class WatchedDesktop : public ModelDesktop {
  public:
    std::function<void()> onSend;
    void openUrl(std::string_view url) override {
        if (onSend) onSend();
        ModelDesktop::openUrl(url);
    }
    void setWindowText(WindowHandle window, std::string_view text) override {
        if (onSend) onSend();
        ModelDesktop::setWindowText(window, text);
    }
};

struct Session {
    WatchedDesktop desktop;
    ModelUi ui;
    Form1 form1{ui, desktop};
    ModelForm& window = ui.form("Zorvane v1.0");
    TextControl& awaym = window.textControl(ids::awaym);
    TextControl& countdown = window.textControl(ids::countdown);
    TextControl& countup = window.textControl(ids::countup);
    TextControl& button = window.textControl(ids::Label8);
    CheckBox& vp = window.checkBox(ids::vp);
    Timer& timer1 = window.timer(ids::Timer1);
    Timer& timer2 = window.timer(ids::Timer2);

    void click() { window.click(ids::Label8); }
    void minutePasses() { window.tick(ids::Timer1); }
    bool away() const {
        return button.text() == "Set Back" && timer1.enabled() && timer2.enabled();
    }
    bool idle() const {
        return button.text() == "Set Away" && !timer1.enabled() && !timer2.enabled();
    }

    // The IM client's away dialog, titled after our away command's <title>.
    WindowHandle awayEdit = 0;
    void addAwayDialog() {
        const WindowHandle dialog = desktop.addWindow("#32770", "Zorvane");
        awayEdit =
            desktop.addWindow("Ate32Class", "", desktop.addWindow("WndAte32Class", "", dialog));
    }
    std::vector<std::string> dialogTexts() const {
        std::vector<std::string> texts;
        for (const auto& write : desktop.writes()) {
            EXPECT_EQ(write.window, awayEdit);
            texts.push_back(write.text);
        }
        return texts;
    }
    std::vector<std::string> boxes() const {
        std::vector<std::string> texts;
        for (const auto& box : ui.messageBoxes()) {
            EXPECT_EQ(box.owner, &window);
            EXPECT_EQ(box.title, "Zorvane");
            texts.push_back(box.text);
        }
        return texts;
    }
    std::string lastCommand() const { return desktop.openedUrls().back(); }
};

using Texts = std::vector<std::string>;

TEST(Form1, SetAwaySendsTheExpandedTemplateOnce) {
    struct Case {
        std::string templ, countdown, message, awaytemplate, countdownAfter;
    };
    const Case cases[] = {
        {"", "0", "", "", "0"},
        {"Out to lunch", "0", "Out+to+lunch", "Out to lunch", "0"},
        {"Gone\r\nBack soon", "0", "Gone<br>Back+soon", "Gone<br>Back soon", "0"},
        {"Back in %c min", "10", "Back+in+9+min", "Back in %c min", "9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.templ);
        Session s;
        s.awaym.setText(c.templ);
        s.countdown.setText(c.countdown);
        s.click();
        EXPECT_TRUE(s.away());
        EXPECT_EQ(s.desktop.openedUrls(), Texts{command(c.message)});
        EXPECT_EQ(s.form1.awaytemplate(), c.awaytemplate);
        EXPECT_EQ(s.countdown.text(), c.countdownAfter);
        EXPECT_EQ(s.countup.text(), "1");
    }
}

TEST(Form1, SetAwayEntersTheAwayStateBeforeAnythingIsSentOrAnyEventRuns) {
    for (const int hidden : {0, 1}) {
        SCOPED_TRACE(hidden);
        Session s;
        s.addAwayDialog();
        s.awaym.setText("Busy");
        s.vp.setValue(hidden);
        s.countup.setText("5");
        int checks = 0;
        const auto check = [&] {
            EXPECT_TRUE(s.away());
            EXPECT_EQ(s.form1.awaytemplate(), "Busy");
            ++checks;
        };
        s.desktop.onSend = check;
        s.desktop.post(check);  // the first pump: the Pause, or the expansion's memory report
        s.click();
        EXPECT_EQ(checks, hidden ? 3 : 2);
        EXPECT_EQ(s.countup.text(), "1");  // reset, then stepped once
    }
}

TEST(Form1, MinuteRefreshCountsDownToZeroThenRepeatsZero) {
    Session s;
    s.awaym.setText("Back in %c min");
    s.countdown.setText("10");
    s.click();
    for (int minute = 1; minute <= 12; ++minute) {
        s.minutePasses();
        const int left = std::max(9 - minute, 0);
        EXPECT_EQ(s.lastCommand(), command("Back+in+" + std::to_string(left) + "+min"));
        EXPECT_EQ(s.countup.text(), std::to_string(minute + 1));
    }
}

TEST(Form1, OnlyATemplateWithACounterSongOrMemoryTokenIsRefreshed) {
    const std::pair<std::string, bool> cases[] = {
        {"Out to lunch", false},
        {"", false},
        {"%n %d %t", false},
        {"Back in %C min", false},
        {"%U%S%M 50% c", false},
        {"%u", true},
        {"%c", true},
        {"x%sx", true},
        {"%m", true},
    };
    for (const auto& [templ, dynamic] : cases) {
        SCOPED_TRACE(templ);
        Session s;
        s.awaym.setText(templ);
        s.countdown.setText("5");
        s.click();
        s.minutePasses();
        s.minutePasses();
        EXPECT_EQ(s.desktop.openedUrls().size(), dynamic ? 3u : 1u);
        EXPECT_EQ(s.countdown.text(), dynamic ? "2" : "4");
        EXPECT_EQ(s.countup.text(), dynamic ? "3" : "1");
    }
}

TEST(Form1, HiddenModeSendsThePlaceholderThenWritesTheDialogHalfASecondLater) {
    const std::pair<std::string, std::string> cases[] = {
        {"Busy", "Busy"},
        {"Busy\r\nback at 5", "Busy<br>back at 5"},
    };
    for (const auto& [templ, written] : cases) {
        SCOPED_TRACE(templ);
        Session s;
        s.addAwayDialog();
        s.awaym.setText(templ);
        s.vp.setValue(1);
        std::vector<double> sentAt;
        s.desktop.onSend = [&] { sentAt.push_back(s.desktop.now()); };
        const double start = s.desktop.now();
        s.click();
        EXPECT_EQ(s.desktop.openedUrls(), Texts{placeholderCommand});
        EXPECT_EQ(s.dialogTexts(), Texts{written});
        ASSERT_EQ(sentAt.size(), 2u);
        EXPECT_EQ(sentAt[0], start);
        EXPECT_GE(sentAt[1] - start, 0.5);
        EXPECT_EQ(s.countup.text(), "1");
    }
}

TEST(Form1, HiddenModeWritesTheTemplateAsItIsAfterThePause) {
    Session s;
    s.addAwayDialog();
    s.awaym.setText("Busy");
    s.vp.setValue(1);
    s.desktop.post([&] { s.awaym.setText("Back at 5"); });
    s.click();
    EXPECT_EQ(s.dialogTexts(), Texts{"Back at 5"});
    EXPECT_EQ(s.form1.awaytemplate(), "Busy");
}

TEST(Form1, EachRefreshFollowsTheCheckBoxAsItIsThen) {
    Session s;
    s.addAwayDialog();
    s.awaym.setText("Away %u\r\nmin");
    s.click();
    s.minutePasses();
    EXPECT_EQ(s.desktop.openedUrls(), (Texts{command("Away+1<br>min"), command("Away+2<br>min")}));
    s.window.click(ids::vp);
    s.minutePasses();
    EXPECT_EQ(s.dialogTexts(), Texts{"Away 3<br>min"});
    s.window.click(ids::vp);
    s.minutePasses();
    EXPECT_EQ(s.desktop.openedUrls().size(), 3u);
    EXPECT_EQ(s.lastCommand(), command("Away+4<br>min"));
}

TEST(Form1, RefreshUsesTheTemplateTakenAtSetAway) {
    Session s;
    s.awaym.setText("%u min");
    s.click();
    s.awaym.setText("%u later");
    s.minutePasses();
    EXPECT_EQ(s.lastCommand(), command("2+min"));
    s.click();
    EXPECT_EQ(s.form1.awaytemplate(), "%u min");
    s.click();
    EXPECT_EQ(s.lastCommand(), command("1+later"));
    EXPECT_EQ(s.form1.awaytemplate(), "%u later");
}

TEST(Form1, SetBackSendsNothingAndTheCountDownGoesOnNextTime) {
    Session s;
    s.awaym.setText("%c");
    s.countdown.setText("5");
    s.click();
    s.minutePasses();
    s.click();
    EXPECT_TRUE(s.idle());
    EXPECT_EQ(s.desktop.openedUrls(), (Texts{command("4"), command("3")}));
    EXPECT_EQ(s.countdown.text(), "3");
    EXPECT_EQ(s.countup.text(), "0");
    s.click();
    EXPECT_EQ(s.lastCommand(), command("2"));
    EXPECT_EQ(s.countup.text(), "1");
}

TEST(Form1, SetBackInsideSetAwayStopsTheTimersAndSetAwayStillDelivers) {
    for (const int hidden : {0, 1}) {  // nested in the expansion, or in the Pause
        SCOPED_TRACE(hidden);
        Session s;
        s.addAwayDialog();
        s.awaym.setText("Busy %u");
        s.vp.setValue(hidden);
        s.desktop.post([&] { s.click(); });
        s.click();
        EXPECT_TRUE(s.idle());
        EXPECT_EQ(s.desktop.openedUrls().back(), hidden ? placeholderCommand : command("Busy+1"));
        EXPECT_EQ(s.dialogTexts(), hidden ? Texts{"Busy 1"} : Texts{});
    }
}

TEST(Form1, SetAwayRefusesACountDownItCannotStep) {
    struct Case {
        std::string countdown, separator;
        int hidden;
        bool accepted;
    };
    const Case cases[] = {
        {"", ".", 0, false},       {"ten", ".", 1, false},      {"32768", ".", 0, false},
        {"-32768", ".", 1, false}, {"-32767.5", ".", 0, false}, {"2.5", ",", 1, false},
        {"-32767", ".", 0, true},  {"32767", ".", 1, true},     {" 12 ", ".", 0, true},
        {"2,5", ",", 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.countdown);
        Session s;
        s.addAwayDialog();
        s.desktop.setDecimalSeparator(c.separator);
        s.awaym.setText("Out to lunch");
        s.vp.setValue(c.hidden);
        s.countdown.setText(c.countdown);
        s.countup.setText("3");
        s.click();
        EXPECT_EQ(s.away(), c.accepted);
        if (c.accepted) continue;
        EXPECT_TRUE(s.idle());
        EXPECT_EQ(s.boxes(), Texts{countDownProblem});
        EXPECT_TRUE(s.desktop.openedUrls().empty());
        EXPECT_TRUE(s.dialogTexts().empty());
        EXPECT_EQ(s.countdown.text(), c.countdown);
        EXPECT_EQ(s.countup.text(), "3");
        EXPECT_EQ(s.form1.awaytemplate(), "");
    }
}

TEST(Form1, SetAwayRefusesAnAwayCommandPastTheLimit) {
    // "é" is two bytes but one UTF-16 unit: the limit counts what the shell receives.
    std::string atLimit;
    for (std::size_t n = command("").size(); n < maxAwayCommandLength; ++n)
        atLimit += "\xC3\xA9";
    ASSERT_EQ(utf16Length(command(atLimit)), maxAwayCommandLength);
    const std::pair<std::string, int> cases[] = {
        {atLimit, 0}, {atLimit + "x", 0}, {atLimit + "x", 1}};
    for (const auto& [templ, hidden] : cases) {
        SCOPED_TRACE(templ.size());
        Session s;
        s.addAwayDialog();
        s.awaym.setText(templ);
        s.vp.setValue(hidden);
        s.countdown.setText("5");
        s.click();
        if (templ == atLimit || hidden) {  // the dialog has no such limit
            EXPECT_TRUE(s.away());
            EXPECT_TRUE(s.boxes().empty());
            continue;
        }
        EXPECT_TRUE(s.idle());
        EXPECT_EQ(s.boxes(), Texts{tooLongProblem});
        EXPECT_TRUE(s.desktop.openedUrls().empty());
        EXPECT_EQ(s.countdown.text(), "5");
        EXPECT_EQ(s.countup.text(), "0");
    }
}

TEST(Form1, AFailedExpansionInsideSetAwayReturnsToIdle) {
    Session s;
    s.addAwayDialog();
    s.awaym.setText("Busy");
    s.vp.setValue(1);
    s.desktop.post([&] { s.countdown.setText("soon"); });  // typed during the Pause
    s.click();
    EXPECT_TRUE(s.idle());
    EXPECT_EQ(s.boxes(), Texts{countDownProblem});
    EXPECT_EQ(s.desktop.openedUrls(), Texts{placeholderCommand});
    EXPECT_TRUE(s.dialogTexts().empty());
}

TEST(Form1, ARefreshThatCannotBeSentTellsTheUserOncePerAwayPeriod) {
    // A command exactly at the limit with "-9" in it: at "-10" it is one unit too long.
    const std::string filler(maxAwayCommandLength - command("-9").size(), 'x');
    struct Case {
        std::string templ, countdown;
        std::function<void(Session&)> spoil;
        std::string problem;
    };
    const Case cases[] = {
        {"%c", "5", [](Session& s) { s.countdown.setText("soon"); }, countDownProblem},
        {"%u", "0", [](Session& s) { s.countup.setText("32767"); }, countUpProblem},
        {filler + "%c", "-8", [](Session&) {}, tooLongProblem},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem);
        Session s;
        s.awaym.setText(c.templ);
        for (const std::size_t period : {1u, 2u}) {
            s.countdown.setText(c.countdown);
            s.click();
            const std::size_t sent = s.desktop.openedUrls().size();
            c.spoil(s);
            s.ui.whileMessageBoxOpen = [&] { s.minutePasses(); };
            s.minutePasses();
            s.minutePasses();
            EXPECT_TRUE(s.away());
            EXPECT_EQ(s.desktop.openedUrls().size(), sent);
            EXPECT_EQ(s.boxes(), Texts(period, c.problem));
            s.click();
        }
    }
}

TEST(Form1, ClosingTheWindowEndsTheProcessAtOnce) {
    Session s;
    EXPECT_THROW(s.window.close(), ProcessExit);
    s.addAwayDialog();
    s.awaym.setText("Busy");
    s.vp.setValue(1);
    s.desktop.post([&] { s.window.close(); });
    EXPECT_THROW(s.click(), ProcessExit);
    EXPECT_TRUE(s.dialogTexts().empty());
}

}  // namespace
}  // namespace zorvane
