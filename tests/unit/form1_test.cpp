// The main window: Set Away and Set Back, the minute refresh, and what the user is told when
// a message cannot be delivered.
#include <gtest/gtest.h>

#include "session.h"

namespace zorvane {
namespace {

const std::string countDownProblem = "Count Down must be a whole number from -32767 to 32767.";
const std::string noHandlerProblem =
    "No program for aim: links could be started: the IM client did not get the away message.";
const std::string placeholder = "aim:goaway?message=</title>Zorvane</title><";

std::string command(std::string_view message) {
    return "aim:goaway?message=<title>Zorvane</title>" + std::string(message);
}

std::string tooLong(std::string_view characters) {
    return "The away message is " + std::string(characters) +
           " too long to hand to the IM client. It is counted as it would be sent, with %c, %u, "
           "%s and %m filled in; each line break counts as 4 characters, and each of % + & # \" "
           "\\ as 3.";
}
const std::string noRoom =
    "The IM client's command for aim: links is so long that this system cannot hand it any away "
    "message. Install the IM client in a folder with a shorter path, or use Wine 8.17 or later.";

TEST(Form1, SetAwayEntersTheAwayStateBeforeAnythingIsSentAndClicksInsideRunAtOnce) {
    for (const int hidden : {0, 1}) {
        SCOPED_TRACE(hidden);
        Session s("Back in %c min", "10", hidden);
        s.countup.setText("5");
        std::vector<double> sentAt;
        s.desktop.onSend = [&] {
            EXPECT_EQ(s.state() + s.form1.awaytemplate(), "Set Back 11Back in %c min");
            sentAt.push_back(s.desktop.now());
        };
        // Typed at the first pump: too late for normal mode; hidden mode reads it after the Pause.
        s.desktop.post([&] { s.awaym.setText("Typed\r\nlater %c"); });
        s.click();
        EXPECT_EQ(s.urls(), Texts{hidden ? placeholder : command("Back+in+9+min")});
        EXPECT_EQ(s.written(), hidden ? Texts{"Typed<br>later 9"} : Texts{});
        EXPECT_EQ(s.countup.text(), "1");  // reset, then stepped once
        EXPECT_GE(sentAt.back() - sentAt.front(), hidden ? 0.5 : 0);

        // Set Back clicked inside the next Set Away: it still sends, and the timers stay off.
        s.desktop.onSend = [] {};
        s.click();
        s.desktop.post([&] { s.click(); });
        s.click();
        EXPECT_EQ(s.state(), "Set Away 00");
        EXPECT_EQ(s.urls().size() + s.written().size(), hidden ? 4u : 2u);
    }
    // A prompt opened inside the Pause and left open: the text goes in when the Pause is up.
    Session p("Busy", "0", 1);
    p.ui.modalSeconds = 10;
    p.ui.promptAnswers = {"", ""};
    p.desktop.post([&] { p.open(ids::Label9, "Extra").click(ids::add); });
    p.click();
    ASSERT_EQ(p.desktop.writes().size(), 1u);
    EXPECT_EQ(p.desktop.writes()[0].text, "Busy");
    EXPECT_LE(p.desktop.writes()[0].at - 1000, 0.5 + 2 * p.desktop.pumpStep);
    EXPECT_GE(p.desktop.now() - 1000, 20);  // both prompts were open 10 s each

    // Closing the main window ends the process at once, even inside the Pause.
    Session s("Busy", "0", 1);
    s.desktop.post([&] { s.main.close(); });
    EXPECT_THROW(s.click(), ProcessExit);
    EXPECT_TRUE(s.written().empty());
}

TEST(Form1, TheMinuteRefreshSendsADynamicTemplateOfSetAwayByEachTicksCheckBoxUntilSetBack) {
    for (const std::string fixed : {"Out to lunch", "%n %d %t %C %U %S %M 50% c"}) {
        Session s(fixed, "5");
        s.click();
        s.main.tick(ids::Timer1);
        EXPECT_EQ(s.urls().size(), 1u);
        EXPECT_EQ(s.countdown.text(), "4");
    }
    for (const std::string dynamic : {"%u", "x%sx", "%m"}) {
        Session s(dynamic);
        s.click();
        s.main.tick(ids::Timer1);
        EXPECT_EQ(s.urls().size(), 2u) << dynamic;
    }
    Session s("%c\r\n%u", "5");
    s.click();
    s.awaym.setText("%c later");
    for (const int hidden : {0, 1, 0}) {
        s.main.checkBox(ids::vp).setValue(hidden);
        s.main.tick(ids::Timer1);
    }
    s.click();
    EXPECT_EQ(s.state() + s.countup.text(), "Set Away 000");
    s.main.tick(ids::Timer1);  // the timer is off
    s.click();                 // the count-down goes on; the template is taken anew
    EXPECT_EQ(s.urls(),
              (Texts{command("4<br>1"), command("3<br>2"), command("1<br>4"), command("0+later")}));
    EXPECT_EQ(s.written(), Texts{"2<br>3"});
}

TEST(Form1, SetAwayRefusesWhatItCannotDeliverAndStaysIdle) {
    // "é" is two bytes but one UTF-16 unit: the limit counts what the shell receives.
    std::string atLimit;
    for (std::size_t n = command("").size(); n < 2048; ++n)
        atLimit += "\xC3\xA9";
    struct Case {
        std::string templ, countdown;
        int hidden;           // the dialog has no length limit
        std::string problem;  // none: accepted
        bool handler = true;
        std::size_t oldWineLimit = 0;  // none: Windows' limit
    };
    const Case cases[] = {
        {"x", "", 0, countDownProblem},
        {"x", "32768", 1, countDownProblem},
        {"x", "-32768", 0, countDownProblem},
        {"x", "-32767,5", 1, countDownProblem},
        {"x", "-32767", 1, ""},
        {"x", "2,5", 0, ""},
        {atLimit, "5", 0, ""},
        {atLimit + "x", "5", 0, tooLong("1 character")},
        {atLimit + "x", "5", 1, ""},
        {atLimit + "\r\n#", "5", 0, tooLong("7 characters")},
        {"x", "5", 0, noHandlerProblem, false},
        // The link and the title take 41 units: with 41, no message fits; with 42, one unit.
        {"x", "5", 0, noRoom, true, 41},
        {"xy", "5", 0, tooLong("1 character"), true, 42},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.countdown + c.templ.substr(0, 3));
        Session s(c.templ, c.countdown, c.hidden);
        s.desktop.urlHandler = c.handler;
        if (c.oldWineLimit) s.limitAwayCommand(c.oldWineLimit);
        s.desktop.setDecimalSeparator(",");
        s.countup.setText("3");
        s.click();
        EXPECT_EQ(s.state(), c.problem.empty() ? "Set Back 11" : "Set Away 00");
        if (c.problem.empty()) continue;
        EXPECT_EQ(Session::shown(s.ui.messageBoxes(), s.main), Texts{"Zorvane: " + c.problem});
        EXPECT_EQ(s.urls().size() + s.written().size(), 0u);
        EXPECT_EQ(s.countdown.text(), c.countdown);
        // The count-down is checked before anything changes; a long command only after.
        EXPECT_EQ(s.countup.text(), c.problem == countDownProblem ? "3" : "0");
    }
    // A count-down spoilt during the Pause fails the expansion after the placeholder went.
    Session s("Busy", "0", 1);
    s.desktop.post([&] { s.countdown.setText("soon"); });
    s.click();
    EXPECT_EQ(s.state(), "Set Away 00");
    EXPECT_EQ(s.ui.messageBoxes().size(), 1u);
    EXPECT_EQ(s.urls(), Texts{placeholder});
}

TEST(Form1, ARefreshThatCannotBeSentTellsTheUserOncePerAwayPeriod) {
    // A command exactly at the limit with "-9" in it: at "-10" it is one unit too long.
    const std::string filler(2048 - command("-9").size(), 'x');
    struct Case {
        std::string templ, down, up, problem;  // the counters as spoilt after Set Away
        int hidden = 0;
        bool handler = true, dialog = true, hangs = false;
        std::string toldAtSetAway;  // a problem of another kind, which hides nothing
    };
    const Case cases[] = {
        {"%c", "soon", "1", countDownProblem},
        {"%u", "5", "32767",
         "Count Up cannot go past 32767. Set Back and Set Away again to restart it."},
        {"%u", "5", "x",
         "Count Up is not a whole number any more. Set Back and Set Away again to restart it."},
        {filler + "%c", "-9", "1", tooLong("1 character")},
        // Hidden mode: the shell refuses its placeholder, or its text finds no away dialog.
        {"%c", "5", "1", noHandlerProblem, 1, false},
        {"%c", "5", "1",
         "The IM client's away dialog (titled \"Zorvane\") was not open: the IM client did not "
         "get the away message.",
         1, true, false},
        {"%c", "5", "1", "The IM client is not answering: it did not get the away message.", 1,
         true, true, true},
        {"%u", "5", "32767",
         "Count Up cannot go past 32767. Set Back and Set Away again to restart it.", 1, false,
         true, false, noHandlerProblem}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem);
        Session s(c.templ, "0", c.hidden);
        s.desktop.urlHandler = c.handler;
        s.desktop.clientHangs = c.hangs;
        if (!c.dialog) s.desktop.removeWindow(s.desktop.findWindows("#32770", "Zorvane").at(0));
        for (const std::size_t period : {1u, 2u}) {
            s.countdown.setText("5");
            s.click();
            s.countdown.setText(c.down);
            s.countup.setText(c.up);
            s.ui.whileMessageBoxOpen = [&] { s.main.tick(ids::Timer1); };
            s.main.tick(ids::Timer1);
            s.main.tick(ids::Timer1);
            EXPECT_EQ(s.state(), "Set Back 11");
            // One per Set Away, none per failed tick.
            EXPECT_EQ(s.urls().size(), c.handler ? period : 0);
            Texts told;
            for (std::size_t i = 0; i < period; ++i) {
                if (!c.toldAtSetAway.empty()) told.push_back("Zorvane: " + c.toldAtSetAway);
                told.push_back("Zorvane: " + c.problem);
            }
            EXPECT_EQ(Session::shown(s.ui.messageBoxes(), s.main), told);
            s.click();
        }
    }
}

// An IM client run as administrator refuses our writes into its away dialog; the user hears
// of it once per away period, whichever write finds out, beside any other problem.
TEST(Form1, AnAwayDialogThatRefusesOurWritesIsToldOncePerAwayPeriod) {
    Session s("%c", "5");
    s.desktop.elevated = {s.edit, s.addAwayDialog("Away Message")};
    s.open(ids::Label9, "Extra").listBox(ids::List1).add("bob-hi");
    s.click();
    s.desktop.addWindow("AIM_IMessage", "Bob - Instant Message");
    s.main.tick(ids::Timer2);  // both writes of the hand-out are refused
    s.limitAwayCommand(10);    // a refresh's problem is told apart
    s.main.tick(ids::Timer1);
    s.click();
    s.main.checkBox(ids::vp).setValue(1);
    // Bob, queued again under the box that the hidden text's refusal opens, is handed out
    // there; when his wait ends, the text that opened the box is not made a second time.
    ListBox& list2 = s.ui.form("Extra").listBox(ids::List2);
    s.ui.whileMessageBoxOpen = [&] {
        list2.setSelected(0);
        s.ui.form("Extra").click(ids::addtowait);
        s.main.tick(ids::Timer2);
    };
    s.countdown.setText("5");
    s.click();  // a new period: the hidden text, which the shell's limit spares, is refused too
    EXPECT_EQ(s.countdown.text(), "2");  // Set Away, then Bob's two writes, stepped it
    const std::string refused =
        "Zorvane: Zorvane cannot write into the IM client's away dialog because the IM client "
        "runs with higher rights (as administrator). Start Zorvane the same way.";
    EXPECT_EQ(Session::shown(s.ui.messageBoxes(), s.main),
              (Texts{refused, "Zorvane: " + noRoom, refused}));
    EXPECT_EQ(itemsOf(s.ui.form("Extra").listBox(ids::List2)), Texts{"bob-hi"});  // stays moved
}

}  // namespace
}  // namespace zorvane
