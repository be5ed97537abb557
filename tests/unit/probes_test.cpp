#include <gtest/gtest.h>

#include "messages/awaymessage.h"
#include "platform/model/model_desktop.h"

namespace zorvane {
namespace {

TEST(Currentsong, ReadsThePlayersTitleWithoutWinamp) {
    const std::string title120(120, 't');
    const std::string emoji = "\xF0\x9F\x8E\xB5";  // two UTF-16 units
    struct Case {
        std::string title, expected;
    };
    const Case cases[] = {
        {"Song - Winamp", "Song "},
        {"1. Song", "1. Song"},
        {"- Winamp A - Winamp", " A "},
        {"Song - winamp", "Song - winamp"},
        {"", ""},
        {std::string(200, 'x'), std::string(127, 'x')},
        {title120 + " - Winamp", title120 + " - Wina"},
        {std::string(126, 'x') + emoji + "y", std::string(126, 'x')},
        {std::string(125, 'x') + emoji + "y", std::string(125, 'x') + emoji},
        {std::string("a\0b - Winamp", 12), std::string("a\0b ", 4)},
        {"Caf\xC3\xA9 \xE2\x80\x94 Ren\xC3\xA9 - Winamp", "Caf\xC3\xA9 \xE2\x80\x94 Ren\xC3\xA9 "},
    };
    for (const auto& c : cases) {
        ModelDesktop desktop;
        desktop.addWindow("Winamp v1.x", c.title);
        EXPECT_EQ(currentsong(desktop), c.expected) << c.title;
    }
}

TEST(Currentsong, PrefersStudioAndSaysWhenThereIsNoPlayer) {
    ModelDesktop desktop;
    EXPECT_EQ(currentsong(desktop), "Winamp Is Currently Off");
    const WindowHandle child = desktop.addWindow("Shell", "");
    desktop.addWindow("STUDIO", "child - Winamp", child);  // not a top-level window
    EXPECT_EQ(currentsong(desktop), "Winamp Is Currently Off");
    desktop.addWindow("Winamp v1.x", "old - Winamp");
    EXPECT_EQ(currentsong(desktop), "old ");
    desktop.addWindow("STUDIO", "new - Winamp");
    EXPECT_EQ(currentsong(desktop), "new ");
}

TEST(Memorystats, FormatsTheRoundedMegabytes) {
    struct Case {
        std::uint64_t total, available;
        std::string separator, expected;
    };
    const Case cases[] = {
        {268435456, 100000000, ".", "Physical Mem Free: 95.8 MB of 257.1 MB (37%)"},
        {534544384, 133636096, ".", "Physical Mem Free: 128 MB of 512 MB (25%)"},
        {536870912, 0, ".", "Physical Mem Free: 0 MB of 514.2 MB (0%)"},
        {268435456, 100000000, ",", "Physical Mem Free: 95,8 MB of 257,1 MB (37%)"},
        {261008, 261008, ".", "Physical Mem Free: 0.3 MB of 0.3 MB (100%)"},  // 2.5 tenths
        // 24 GiB exactly, and what a 24 GiB machine reports after the firmware's share.
        {25769803776, 6442450944, ".", "Physical Mem Free: 6170.7 MB of 24683 MB (24%)"},
        {25276194816, 12884901888, ".", "Physical Mem Free: 12341.5 MB of 24210.2 MB (50%)"},
        {UINT64_MAX, UINT64_MAX / 2 + 1, ".",
         "Physical Mem Free: 8834376759385.5 MB of 17668753518771 MB (50%)"},
        {52201, 52201, ".", "Physical Mem Free: 0 MB of 0 MB (0%)"},  // no total, no division
        {0, 0, ".", "Physical Mem Free: 0 MB of 0 MB (0%)"},
    };
    for (const auto& c : cases) {
        ModelDesktop desktop;
        desktop.setMemory({c.total, c.available});
        desktop.setDecimalSeparator(c.separator);
        EXPECT_EQ(memorystats(desktop), c.expected) << c.total << " / " << c.available;
    }
}

TEST(Memorystats, RunsPendingEventsBeforeReading) {
    ModelDesktop desktop;
    desktop.post([&] { desktop.setMemory({534544384, 534544384}); });
    EXPECT_EQ(memorystats(desktop), "Physical Mem Free: 512 MB of 512 MB (100%)");
}

}  // namespace
}  // namespace zorvane
