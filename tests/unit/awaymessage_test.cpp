#include "messages/awaymessage.h"

#include <gtest/gtest.h>

#include "platform/model/model_controls.h"
#include "platform/model/model_desktop.h"

namespace zorvane {
namespace {

using Counter = ExpandError::Counter;

// The default model memory: 512 MiB total, half of it free.
const std::string memoryLine = "Physical Mem Free: 257.1 MB of 514.2 MB (50%)";

struct Expansion : testing::Test {
    ModelDesktop desktop;
    ModelTextControl countdown{"0"};
    ModelTextControl countup{"0"};
    ExpansionContext context{countdown, countup, desktop};

    std::string expand(std::string message) {
        auto result = expandmessage(std::move(message), context);
        EXPECT_TRUE(result.has_value()) << result.error().message();
        return result.value_or("");
    }
};

TEST_F(Expansion, StepsTheCountersAndFillsTheTokens) {
    struct Case {
        std::string down, up, message, expected, downAfter, upAfter;
    };
    const Case cases[] = {
        {"0", "0", "%c %u", "0 1", "0", "1"},
        {"5", "0", "Back in %c min, gone %u", "Back in 4 min, gone 1", "4", "1"},
        {"-3", "7", "%c", "-4", "-4", "8"},
        {" 07", "0", "%c", "6", "6", "1"},
        {"0.5", "0", "%c", "0", "0.5", "1"},  // rests at 0: its text is not rewritten
        {"2.5", "0", "%c", "1", "1", "1"},
        {"3.5", "0", "%c", "3", "3", "1"},
        {"4", "0", "%%c", "%3", "3", "1"},
        {"4", "0", "%c and %c", "3 and 3", "3", "1"},
        {"4", "-32768", "%u", "-32767", "3", "-32767"},
        {"0", "0", "%n %d %t %C %U %S %M % %", "%n %d %t %C %U %S %M % %", "0", "1"},
        {"9", "0", "", "", "8", "1"},
    };
    for (const auto& c : cases) {
        countdown.setText(c.down);
        countup.setText(c.up);
        EXPECT_EQ(expand(c.message), c.expected) << c.message;
        EXPECT_EQ(countdown.text(), c.downAfter) << c.message;
        EXPECT_EQ(countup.text(), c.upAfter) << c.message;
    }
}

TEST_F(Expansion, CountDownStopsAtZero) {
    countdown.setText("3");
    std::vector<std::string> shown;
    for (int i = 0; i < 5; ++i)
        shown.push_back(expand("%c"));
    EXPECT_EQ(shown, (std::vector<std::string>{"2", "1", "0", "0", "0"}));
    EXPECT_EQ(countup.text(), "5");
}

TEST_F(Expansion, ReadsTheUsersDecimalSeparator) {
    desktop.setDecimalSeparator(",");
    countdown.setText("2,5");
    EXPECT_EQ(expand("%c"), "1");
}

TEST_F(Expansion, LaterStepsScanTheSongButEarlierOnesDoNot) {
    desktop.addWindow("STUDIO", "%c %u %s %m - Winamp");
    countdown.setText("4");
    EXPECT_EQ(expand("[%s] %c"), "[%c %u %s " + memoryLine + " ] 3");
}

TEST_F(Expansion, ProbesRunOnEveryCall) {
    EXPECT_EQ(expand("no tokens"), "no tokens");
    EXPECT_EQ(desktop.pumpCount(), 1);
    EXPECT_EQ(expand("%s / %m"), "Winamp Is Currently Off / " + memoryLine);
}

TEST_F(Expansion, FailuresKeepWhatWasWrittenAndLeaveTheFailingBox) {
    struct Case {
        std::string down, up;
        ExpandError error;
        std::string downAfter;
    };
    const Case cases[] = {
        {"", "3", {Counter::CountDown, CounterError::NotANumber}, ""},
        {"ten", "3", {Counter::CountDown, CounterError::NotANumber}, "ten"},
        {"-32768", "3", {Counter::CountDown, CounterError::OutOfRange}, "-32768"},
        {"40000", "3", {Counter::CountDown, CounterError::OutOfRange}, "40000"},
        {"5", "32767", {Counter::CountUp, CounterError::OutOfRange}, "4"},
        {"5", "", {Counter::CountUp, CounterError::NotANumber}, "4"},
        {"0", "x", {Counter::CountUp, CounterError::NotANumber}, "0"},
    };
    for (const auto& c : cases) {
        countdown.setText(c.down);
        countup.setText(c.up);
        const auto result = expandmessage("%c %m", context);
        ASSERT_FALSE(result.has_value()) << c.down << " / " << c.up;
        EXPECT_EQ(result.error().counter, c.error.counter) << c.down << " / " << c.up;
        EXPECT_EQ(result.error().kind, c.error.kind) << c.down << " / " << c.up;
        EXPECT_EQ(countdown.text(), c.downAfter);
        EXPECT_EQ(countup.text(), c.up);
    }
    EXPECT_EQ(desktop.pumpCount(), 0);  // stopped before the probes
}

TEST(ExpandErrorMessage, NamesTheBoxAndTheProblem) {
    const ExpandError notANumber{Counter::CountDown, CounterError::NotANumber};
    const ExpandError outOfRange{Counter::CountUp, CounterError::OutOfRange};
    EXPECT_EQ(notANumber.message(),
              "The Count Down box does not hold a number: enter a whole number from -32768 to "
              "32767.");
    EXPECT_EQ(outOfRange.message(),
              "The Count Up box is out of range: its value must stay between -32768 and 32767.");
}

TEST_F(Expansion, AnEventRunByThePumpSeesTheCountersStepped) {
    countdown.setText("5");
    std::string nested;
    desktop.post([&] { nested = expand("%c %u"); });
    EXPECT_EQ(expand("%c %u"), "4 1");
    EXPECT_EQ(nested, "3 2");
    EXPECT_EQ(countdown.text(), "3");
    EXPECT_EQ(countup.text(), "2");
}

TEST_F(Expansion, LargeTemplatesExpandWhole) {
    std::string big;
    std::string expected;
    while (big.size() < 1'000'000) {
        big += "away %c, %u\r\n";
        expected += "away 0, 1\r\n";
    }
    EXPECT_EQ(expand(big), expected);
}

struct Delivery : testing::Test {
    ModelDesktop desktop;

    // An away dialog with the edit field inside its container; returns the edit field.
    WindowHandle addDialog(std::string title, bool own = false) {
        const WindowHandle dialog = desktop.addWindow("#32770", std::move(title), 0, own);
        const WindowHandle container = desktop.addWindow("WndAte32Class", "", dialog);
        return desktop.addWindow("Ate32Class", "", container);
    }
};

TEST_F(Delivery, GoawayHandsTheCommandToTheShell) {
    goaway(desktop, placeholderMessage);
    goaway(desktop, urlMessageForm("a+b"));
    EXPECT_EQ(desktop.openedUrls(),
              (std::vector<std::string>{"aim:goaway?message=</title>Zorvane</title><",
                                        "aim:goaway?message=<title>Zorvane</title>a%2Bb"}));
}

TEST_F(Delivery, SetawaytextWritesIntoTheFirstForeignDialog) {
    addDialog("Zorvane", /*own=*/true);
    addDialog("Zorvane - Away");
    desktop.addWindow("#32771", "Zorvane");
    const WindowHandle edit = addDialog("Zorvane");
    addDialog("Zorvane");
    setawaytext(desktop, "Zorvane", "gone \xC3\xA9");
    ASSERT_EQ(desktop.writes().size(), 1u);
    EXPECT_EQ(desktop.writes()[0].window, edit);
    EXPECT_EQ(desktop.writes()[0].text, "gone \xC3\xA9");
}

TEST_F(Delivery, SetawaytextWritesNothingWithoutTheWholeChain) {
    addDialog("Zorvane", /*own=*/true);
    addDialog("Away");
    setawaytext(desktop, "Zorvane", "x");
    setawaytext(desktop, "", "x");

    const WindowHandle flat = desktop.addWindow("#32770", "Flat");  // edit field, no container
    desktop.addWindow("Ate32Class", "", flat);
    setawaytext(desktop, "Flat", "x");

    const WindowHandle half = desktop.addWindow("#32770", "Half");  // container, no edit field
    desktop.addWindow("WndAte32Class", "", half);
    setawaytext(desktop, "Half", "x");

    // The first foreign dialog decides, even when it lacks a part.
    desktop.addWindow("#32770", "Bare");
    addDialog("Bare");
    setawaytext(desktop, "Bare", "x");

    EXPECT_TRUE(desktop.writes().empty());
}

}  // namespace
}  // namespace zorvane
