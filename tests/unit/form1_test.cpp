#include "windows/form1.h"

#include <gtest/gtest.h>

#include "platform/model/model_desktop.h"
#include "platform/model/model_ui.h"
#include "windows/control_ids.h"

namespace zorvane {
namespace {

using Texts = std::vector<std::string>;

const std::string countDownProblem = "Count Down must be a whole number from -32767 to 32767.";
const std::string tooLongProblem =
    "The away message is too long to hand to the IM client (at most 32000 characters).";
const std::string placeholder = "aim:goaway?message=</title>Zorvane</title><";

std::string command(std::string_view message) {
    return "aim:goaway?message=<title>Zorvane</title>" + std::string(message);
}

// Calls `onSend` as each away command or dialog text leaves, so a test sees the state then.
struct WatchedDesktop : ModelDesktop {
    std::function<void()> onSend = [] {};
    void openUrl(std::string_view url) override {
        onSend();
        ModelDesktop::openUrl(url);
    }
    void setWindowText(WindowHandle window, std::string_view text) override {
        onSend();
        ModelDesktop::setWindowText(window, text);
    }
};

// The main window beside the IM client's away dialog (titled after our <title>).
struct Session {
    WatchedDesktop desktop;
    ModelUi ui;
    Form1 form1{ui, desktop};
    ModelForm& window = ui.form("Zorvane v1.0");
    TextControl& awaym = window.textControl(ids::awaym);
    TextControl& countdown = window.textControl(ids::countdown);
    TextControl& countup = window.textControl(ids::countup);

    Session(std::string templ, std::string down = "0", int hidden = 0) {
        const WindowHandle dialog = desktop.addWindow("#32770", "Zorvane");
        desktop.addWindow("Ate32Class", "", desktop.addWindow("WndAte32Class", "", dialog));
        awaym.setText(templ);
        countdown.setText(down);
        window.checkBox(ids::vp).setValue(hidden);
    }
    void click() { window.click(ids::Label8); }
    void minutePasses() { window.tick(ids::Timer1); }
    // The caption and whether each timer runs.
    std::string state() const {
        return window.textControl(ids::Label8).text() + " " +
               std::to_string(window.timer(ids::Timer1).enabled()) +
               std::to_string(window.timer(ids::Timer2).enabled());
    }
    bool away() const { return state() == "Set Back 11"; }
    bool idle() const { return state() == "Set Away 00"; }
    const Texts& urls() const { return desktop.openedUrls(); }
    Texts written() const {
        Texts texts;
        for (const auto& write : desktop.writes())
            texts.push_back(write.text);
        return texts;
    }
    Texts boxes() const {
        Texts texts;
        for (const auto& b : ui.messageBoxes())
            texts.push_back((b.owner == &window ? "" : "unowned ") + b.title + ": " + b.text);
        return texts;
    }
};

TEST(Form1, SetAwayEntersTheAwayStateBeforeAnythingIsSentOrAnyEventRuns) {
    for (const int hidden : {0, 1}) {
        SCOPED_TRACE(hidden);
        Session s("Back in %c min", "10", hidden);
        s.countup.setText("5");
        std::vector<double> sentAt;
        s.desktop.onSend = [&] {
            EXPECT_TRUE(s.away());
            EXPECT_EQ(s.form1.awaytemplate(), "Back in %c min");
            sentAt.push_back(s.desktop.now());
        };
        // Typed at the first pump: too late for normal mode; hidden mode reads it after the Pause.
        s.desktop.post([&] {
            EXPECT_TRUE(s.away());
            s.awaym.setText("Typed\r\nlater %c");
        });
        s.click();
        EXPECT_EQ(s.urls(), Texts{hidden ? placeholder : command("Back+in+9+min")});
        EXPECT_EQ(s.written(), hidden ? Texts{"Typed<br>later 9"} : Texts{});
        EXPECT_EQ(s.countup.text(), "1");  // reset, then stepped once
        EXPECT_GE(sentAt.back() - sentAt.front(), hidden ? 0.5 : 0);
    }
}

TEST(Form1, OnlyATemplateWithACounterSongOrMemoryTokenIsRefreshed) {
    const std::vector<std::string> fixed = {"Out to lunch", "%n %d %t %C %U %S %M 50% c"};
    const std::vector<std::string> dynamic = {"%u", "%c", "x%sx", "%m"};
    for (const bool isDynamic : {false, true}) {
        for (const std::string& templ : isDynamic ? dynamic : fixed) {
            Session s(templ, "5");
            s.click();
            s.minutePasses();
            s.minutePasses();
            EXPECT_EQ(s.urls().size(), isDynamic ? 3u : 1u) << templ;
            EXPECT_EQ(s.countdown.text(), isDynamic ? "2" : "4") << templ;
        }
    }
}

TEST(Form1, RefreshesTheTemplateOfSetAwayByTheCheckBoxOfEachTickUntilSetBack) {
    Session s("%c\r\n%u", "5");
    s.click();
    s.awaym.setText("%c later");
    s.minutePasses();
    s.window.click(ids::vp);
    s.minutePasses();
    s.window.click(ids::vp);
    s.minutePasses();
    s.click();
    EXPECT_TRUE(s.idle());
    EXPECT_EQ(s.countup.text(), "0");
    s.minutePasses();  // the timer is off
    s.click();         // the count-down goes on; the template is taken anew
    EXPECT_EQ(s.urls(),
              (Texts{command("4<br>1"), command("3<br>2"), command("1<br>4"), command("0+later")}));
    EXPECT_EQ(s.written(), Texts{"2<br>3"});
}

TEST(Form1, ClicksInsideSetAwayRunAtOnce) {
    for (const int hidden : {0, 1}) {  // nested in the expansion, or in the Pause
        Session s("Busy %u", "0", hidden);
        s.desktop.post([&] { s.click(); });
        s.click();
        EXPECT_TRUE(s.idle()) << hidden;
        EXPECT_EQ(s.urls().back(), hidden ? placeholder : command("Busy+1"));
        EXPECT_EQ(s.written(), hidden ? Texts{"Busy 1"} : Texts{});
    }
    // Closing the main window ends the process at once, even inside the Pause.
    Session s("Busy", "0", 1);
    s.desktop.post([&] { s.window.close(); });
    EXPECT_THROW(s.click(), ProcessExit);
    EXPECT_TRUE(s.written().empty());
}

TEST(Form1, SetAwayRefusesWhatItCannotDeliverAndStaysIdle) {
    // "é" is two bytes but one UTF-16 unit: the limit counts what the shell receives.
    std::string atLimit;
    for (std::size_t n = command("").size(); n < maxAwayCommandLength; ++n)
        atLimit += "\xC3\xA9";
    struct Case {
        std::string templ, countdown;
        int hidden;           // the dialog has no length limit
        std::string problem;  // none: accepted
    };
    const Case cases[] = {
        {"x", "", 0, countDownProblem},
        {"x", "32768", 1, countDownProblem},
        {"x", "-32768", 0, countDownProblem},
        {"x", "-32767,5", 1, countDownProblem},
        {"x", "-32767", 1, ""},
        {"x", "32767", 0, ""},
        {"x", "2,5", 0, ""},
        {atLimit, "5", 0, ""},
        {atLimit + "x", "5", 0, tooLongProblem},
        {atLimit + "x", "5", 1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.countdown + c.templ.substr(0, 3));
        Session s(c.templ, c.countdown, c.hidden);
        s.desktop.setDecimalSeparator(",");
        s.countup.setText("3");
        s.click();
        if (c.problem.empty()) {
            EXPECT_TRUE(s.away());
            continue;
        }
        EXPECT_TRUE(s.idle());
        EXPECT_EQ(s.boxes(), Texts{"Zorvane: " + c.problem});
        EXPECT_EQ(s.urls().size() + s.written().size(), 0u);
        EXPECT_EQ(s.countdown.text(), c.countdown);
        // The count-down is checked before anything changes; a long command only after.
        EXPECT_EQ(s.countup.text(), c.problem == countDownProblem ? "3" : "0");
    }
    // A count-down spoilt during the Pause fails the expansion after the placeholder went.
    Session s("Busy", "0", 1);
    s.desktop.post([&] { s.countdown.setText("soon"); });
    s.click();
    EXPECT_TRUE(s.idle());
    EXPECT_EQ(s.boxes(), Texts{"Zorvane: " + countDownProblem});
    EXPECT_EQ(s.urls(), Texts{placeholder});
    EXPECT_TRUE(s.written().empty());
}

TEST(Form1, ARefreshThatCannotBeSentTellsTheUserOncePerAwayPeriod) {
    // A command exactly at the limit with "-9" in it: at "-10" it is one unit too long.
    const std::string filler(maxAwayCommandLength - command("-9").size(), 'x');
    struct Case {
        std::string templ, down, up, problem;  // the counters as spoilt after Set Away
    };
    const Case cases[] = {
        {"%c", "soon", "1", countDownProblem},
        {"%u", "5", "32767",
         "Count Up cannot go past 32767. Set Back and Set Away again to restart it."},
        {"%u", "5", "x",
         "Count Up is not a whole number any more. Set Back and Set Away again to restart it."},
        {filler + "%c", "-9", "1", tooLongProblem}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem);
        Session s(c.templ);
        for (const std::size_t period : {1u, 2u}) {
            s.countdown.setText("5");
            s.click();
            s.countdown.setText(c.down);
            s.countup.setText(c.up);
            s.ui.whileMessageBoxOpen = [&] { s.minutePasses(); };
            s.minutePasses();
            s.minutePasses();
            EXPECT_TRUE(s.away());
            EXPECT_EQ(s.urls().size(), period);  // one per Set Away, none per failed tick
            EXPECT_EQ(s.boxes(), Texts(period, "Zorvane: " + c.problem));
            s.click();
        }
    }
}

}  // namespace
}  // namespace zorvane
