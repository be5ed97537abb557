// The away message: counters, template expansion, its text forms, delivery and the probes.
#include <gtest/gtest.h>

#include "messages/awaymessage.h"
#include "platform/model/model_controls.h"
#include "platform/model/model_desktop.h"

namespace zorvane {
namespace {

TEST(ParseCounter, GrammarRoundingAndRange) {
    using Case = std::pair<std::string, std::expected<std::int16_t, CounterError>>;
    const auto nan = std::unexpected(CounterError::NotANumber);
    const auto range = std::unexpected(CounterError::OutOfRange);
    const std::string nul("5\0", 2), nines(400, '9');
    const std::vector<Case> grammar = {{" 07", 7},     {"\t-3 \t", -3}, {"+5", 5},    {"5.", 5},
                                       {"", nan},      {".", nan},      {"- 5", nan}, {"1e3", nan},
                                       {"1,000", nan}, {nul, nan}};
    // Halves to even, decided on the decimal digits; the range is checked after rounding.
    const std::vector<Case> rounding = {
        {".5", 0},  {"2.5", 2},         {"3.5", 4},           {"-2.5", -2},
        {"2.6", 3}, {"32767.5", range}, {"-32768.5", -32768}, {"-32769", range}};
    const std::vector<Case> digits = {
        {"2.50000000000000000000001", 3}, {std::string(400, '0') + "32767", 32767}, {nines, range}};
    for (const auto& table : {grammar, rounding, digits}) {
        for (const auto& [text, expected] : table)
            EXPECT_EQ(parseCounter(text, "."), expected) << '"' << text.substr(0, 30);
    }
    EXPECT_EQ(parseCounter("1,5", ","), 2);
    EXPECT_EQ(parseCounter("1.5", ","), nan);
    EXPECT_EQ(parseCounter(std::string_view("12", 1), "."), 1);  // not a digit past its end
}

struct Expansion : testing::Test {
    ModelDesktop desktop;
    ModelTextControl countdown{"0"};
    ModelTextControl countup{"0"};
    ExpansionContext context{countdown, countup, desktop};

    // The expanded text, or which box failed and why.
    std::string expand(std::string message) {
        const auto result = expandmessage(std::move(message), context);
        if (result) return *result;
        const bool down = result.error().counter == ExpandError::Counter::CountDown;
        const bool nan = result.error().kind == CounterError::NotANumber;
        return std::string(down ? "!down " : "!up ") + (nan ? "NaN" : "range");
    }
};

TEST_F(Expansion, StepsTheCountersThenFillsTheTokensOrFailsKeepingWhatWasWritten) {
    struct Case {
        std::string down, up, message, expected, downAfter, upAfter;
    };
    const Case cases[] = {
        {"5", "0", "Back in %c min, gone %u", "Back in 4 min, gone 1", "4", "1"},
        {"0", "0", "%c %u", "0 1", "0", "1"},
        {"0.5", "0", "%c", "0", "0.5", "1"},  // rests at 0: its text is not rewritten
        {"-3", "7", "%c", "-4", "-4", "8"},
        {" 2.5", "0", "%c", "1", "1", "1"},
        {"4", "-32768", "%%c and %c %u", "%3 and 3 -32767", "3", "-32767"},
        {"0", "0", "%n %d %t %C %U %S %M % %", "%n %d %t %C %U %S %M % %", "0", "1"},
        {"9", "0", "", "", "8", "1"},
        {"", "3", "%c %m", "!down NaN", "", "3"},
        {"-32768", "3", "%c %m", "!down range", "-32768", "3"},
        {"40000", "3", "%c %m", "!down range", "40000", "3"},
        {"5", "32767", "%c %m", "!up range", "4", "32767"},
        {"0", "x", "%c %m", "!up NaN", "0", "x"},
    };
    for (const auto& c : cases) {
        countdown.setText(c.down);
        countup.setText(c.up);
        const int pumps = desktop.pumpCount();
        EXPECT_EQ(expand(c.message), c.expected) << c.message;
        EXPECT_EQ(countdown.text() + " " + countup.text(), c.downAfter + " " + c.upAfter);
        // The memory report, and so the pump, runs once per expansion; a failure stops before.
        EXPECT_EQ(desktop.pumpCount() - pumps, c.expected.starts_with('!') ? 0 : 1) << c.message;
    }
}

TEST_F(Expansion, LaterStepsScanTheSongButEarlierOnesDoNot) {
    desktop.addWindow("STUDIO", "%c %u %s %m - Winamp");
    countdown.setText("4");
    EXPECT_EQ(expand("[%s] %c"), "[%c %u %s Physical Mem Free: 257.1 MB of 514.2 MB (50%) ] 3");
}

TEST(Setawaytext, WritesIntoTheFirstDialogOfAnotherProcessWithThatTitle) {
    ModelDesktop desktop;
    std::vector<WindowHandle> edits;
    for (const auto& [title, own] : {std::pair{"Zorvane", true}, {"Zorvane", false}, {"", false}}) {
        const WindowHandle dialog = desktop.addWindow("#32770", title, 0, own);
        edits.push_back(
            desktop.addWindow("Ate32Class", "", desktop.addWindow("WndAte32Class", "", dialog)));
    }
    setawaytext(desktop, "Zorvane", "gone");
    setawaytext(desktop, "", "no dialog was found: none is written to");
    ASSERT_EQ(desktop.writes().size(), 1u);
    EXPECT_EQ(desktop.writes()[0].window, edits[1]);
    // A text the client is still at when its dialog closes is lost with it, even when a new
    // dialog gets the old one's handles.
    desktop.reuseHandles = true;
    desktop.writeSeconds = 1;
    setawaytext(desktop, "Zorvane", "late");
    desktop.removeWindow(desktop.findWindows("#32770", "Zorvane").at(1));
    const WindowHandle again = desktop.addWindow("#32770", "Zorvane");
    desktop.addWindow("Ate32Class", "", desktop.addWindow("WndAte32Class", "", again));
    ASSERT_EQ(desktop.findChild(desktop.findChild(again, "WndAte32Class"), "Ate32Class"), edits[1]);
    desktop.advanceClock(2);
    desktop.pumpEvents();
    EXPECT_EQ(desktop.writes().size(), 1u);
}

TEST(AwayCommandLimit, WhatTheShellOfEachSystemHandsTheHandlerWhole) {
    // Wine before 8.17 drops the URL from a command line of more than 1023 units, and crashes
    // on a URL of 996 units or more. Measured on Wine 8.0: with the fake client's handler (66
    // units) 960 arrive whole, 961 empty; with a 218-unit one 808 whole, 809 empty. The limit
    // keeps the whole line, the handler's text after its URL too.
    const char* fake = R"("Z:\work\wt\shell\build\windows\tests\bin\fake_im_client.exe" "%1")";
    const char* shallow = R"("C:\s\f.exe" "%1")";
    const std::string deep = R"("C:\s\)" + std::string(200, 'd') + R"(\f.exe" "%1")";
    const std::string emoji = "\"\xF0\x9F\x98\x80" + std::string(400, 'd') + "\" %1 --flag";
    const std::string huge = '"' + std::string(1100, 'x') + R"(" "%1")";
    using Case = std::tuple<std::optional<std::string>, std::optional<std::string>, std::size_t>;
    // No version is Windows; no handler, none registered. Besides those: counted in UTF-16
    // units; a handler without the URL in its command line, one with it twice, one with
    // another parameter; a version not understood is taken for an old one.
    const Case cases[] = {
        {std::nullopt, deep, 2048},  {"8.17", deep, 2048},    {"10.0", shallow, 2048},
        {"8.0", fake, 959},          {"8.16.1", deep, 807},   {"8.0", shallow, 995},
        {"8.0", std::nullopt, 995},  {"8.0-rc2", emoji, 611}, {"8.0", "handler.exe", 995},
        {"8.0", "h.exe %1 %L", 508}, {"8.0", huge, 0},        {"wine?", fake, 959},
        {"8.0", deep + " %*", 804}};
    for (const auto& [wine, handler, limit] : cases)
        EXPECT_EQ(awayCommandLimit(wine, handler), limit) << handler.value_or("-").substr(0, 20);
}

TEST(TextForms, LineBreaksAndTheUrlFormEscapingWhatTheClientsDecodingWouldChange) {
    EXPECT_EQ(lineBreakForm("a\r\nb\nc\r\r\n\n\rend\r\n"), "a<br>b\nc\r<br>\n\rend<br>");
    const std::pair<std::string, std::string> cases[] = {
        {"50% & more", "50%25+%26+more"},
        {"C++", "C%2B%2B"},
        {"a b  c", "a+b++c"},
        {"C:\\dir\\", "C:%5Cdir%5C"},
        {"#1 \"q\"", "%231+%22q%22"},
        {std::string("\0\t\n\r\x1F\x7F", 6), "%00%09%0A%0D%1F%7F"},
        {"<b>/=?:;,.!'()*~_-caf\xC3\xA9\xFF", "<b>/=?:;,.!'()*~_-caf\xC3\xA9\xFF"},
    };
    for (const auto& [text, encoded] : cases) {
        EXPECT_EQ(urlMessageForm(text), "<title>Zorvane</title>" + encoded) << text;
    }
}

TEST(Currentsong, ReadsThePlayersTitleCutThenWithoutWinampOrSaysItIsOff) {
    const std::string x120(120, 'x');
    const std::string emoji = "\xF0\x9F\x8E\xB5";  // two UTF-16 units
    const std::pair<std::string, std::string> cases[] = {
        {"Song - Winamp", "Song "},
        {"- Winamp A - Winamp", " A "},
        {"Song - winamp", "Song - winamp"},
        {std::string(200, 'x'), std::string(127, 'x')},
        {x120 + " - Winamp", x120 + " - Wina"},
        {std::string(126, 'x') + emoji + "y", std::string(126, 'x')},
        {std::string(125, 'x') + emoji + "y", std::string(125, 'x') + emoji},
    };
    for (const auto& [title, song] : cases) {
        ModelDesktop desktop;
        desktop.addWindow("Winamp v1.x", title);
        EXPECT_EQ(currentsong(desktop), song) << title;
    }
    ModelDesktop desktop;
    EXPECT_EQ(currentsong(desktop), "Winamp Is Currently Off");
    desktop.addWindow("Winamp v1.x", "old - Winamp");
    desktop.addWindow("STUDIO", "new - Winamp");  // the newer player comes first
    EXPECT_EQ(currentsong(desktop), "new ");
}

TEST(Memorystats, FormatsTheRoundedMegabytes) {
    struct Case {
        std::uint64_t total, available;
        std::string separator, expected;
    };
    const Case cases[] = {
        {268435456, 66922451, ".", "Physical Mem Free: 64.1 MB of 257.1 MB (24%)"},  // no 64.0999
        {534544384, 133636096, ".", "Physical Mem Free: 128 MB of 512 MB (25%)"},
        {536870912, 0, ".", "Physical Mem Free: 0 MB of 514.2 MB (0%)"},
        {10440320, 2557879, ",", "Physical Mem Free: 2,5 MB of 10 MB (25%)"},  // not 24%
        {261008, 261008, ".", "Physical Mem Free: 0.3 MB of 0.3 MB (100%)"},   // 2.5 tenths
        {25276194816, 12884901888, ".", "Physical Mem Free: 12341.5 MB of 24210.2 MB (50%)"},
        {52201, 52201, ".", "Physical Mem Free: 0 MB of 0 MB (0%)"},  // no total, no division
    };
    for (const auto& c : cases) {
        ModelDesktop desktop;
        desktop.setDecimalSeparator(c.separator);
        desktop.setMemory({c.total, c.available});
        EXPECT_EQ(memorystats(desktop), c.expected) << c.total << " / " << c.available;
    }
}

}  // namespace
}  // namespace zorvane
