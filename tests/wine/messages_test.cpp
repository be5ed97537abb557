// The away-message procedures on the real desktop: the shell hands the away command to the
// "aim:" handler, texts reach the away dialog of another process, the probes read the system.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "driver.h"
#include "form_decode.h"
#include "messages/awaymessage.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_desktop.h"
#include "text/replace.h"

namespace zorvane::driver {
namespace {

const std::string beyondAscii = "Grüße ☃ 😀 –";

TEST(MessagesOnTheDesktop, GoawayReachesTheAimHandlerAsTyped) {
    win32::Win32Desktop desktop;
    // No handler registered yet: the command is lost, without a window of the shell's, and the
    // call runs none of our messages (under Wine the shell's error box would run them all).
    const auto before = desktop.topLevelWindows();
    PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
    goaway(desktop, "nobody");
    MSG posted;
    EXPECT_TRUE(PeekMessageW(&posted, nullptr, WM_APP, WM_APP, PM_REMOVE));
    for (const WindowHandle window : desktop.topLevelWindows())
        EXPECT_TRUE(std::ranges::find(before, window) != before.end())
            << "shown: " << desktop.className(window, 99);

    const FakeImClient client;
    ASSERT_TRUE(client.log);
    const std::string texts[] = {"50% & more", "C++",       "a b  c", "C:\\dir\\", "say \"hi\" #1",
                                 "%n %d %t",   beyondAscii, "",       "%41+%2B"};
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        goaway(desktop, urlMessageForm(texts[i]));
        const auto urls = client.records(i + 1);
        ASSERT_EQ(urls.size(), i + 1);
        EXPECT_EQ(formDecode(urls[i]), "aim:goaway?message=<title>Zorvane</title>" + texts[i]);
    }
    goaway(desktop, placeholderMessage);
    EXPECT_EQ(client.records(std::size(texts) + 1).back(),
              "aim:goaway?message=</title>Zorvane</title><");
}

TEST(MessagesOnTheDesktop, GoawayThroughADdeHandlerWaitsOnNoHungWindow) {
    win32::Win32Desktop desktop;  // goes last: once the client has gone, the shell finishes
    const FakeImClient client(FakeWindows{{"#32770", "Away Message"}});
    ASSERT_TRUE(client.log);
    // A handler reached by DDE: the shell first asks every top-level window, ours too, whether it
    // serves it. Its program is missing, so the shell starts nothing once the client has gone.
    const auto set = [](const wchar_t* key, const std::wstring& value) {
        return RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(),
                               (value.size() + 1) * sizeof(wchar_t)) == ERROR_SUCCESS;
    };
    ASSERT_TRUE(set(L"aim\\shell\\open\\ddeexec", L"[open(\"%1\")]"));
    ASSERT_TRUE(set(L"aim\\shell\\open\\ddeexec\\application", L"AIM"));
    ASSERT_TRUE(set(L"aim\\shell\\open\\command", L"\"C:\\missing.exe\" \"%1\""));
    const win32::UniqueWindow own(CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 9, 9, nullptr,
                                                  nullptr, nullptr, nullptr));
    // Only the hung client holds the shell up, the first command for 2 s, the next not at all.
    const struct {
        const char* message;
        bool hangClientFirst;
        int seconds;
    } cases[] = {{"answered", false, 1}, {"stuck", true, 3}, {"behind it", false, 1}};
    for (const auto& c : cases) {
        if (c.hangClientFirst) setawaytext(desktop, "Away Message", "(hang)");
        const auto start = std::chrono::steady_clock::now();
        goaway(desktop, c.message);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(c.seconds))
            << c.message;
    }
}

TEST(MessagesOnTheDesktop, SetawaytextWritesIntoTheAwayDialogOfAnotherProcessOnly) {
    const FakeImClient client({{"#32770", "Away Message"}, {"#32770", "Zorvane"}});
    ASSERT_TRUE(client.log);
    // Our own "Zorvane" dialog (a message box of ours), in front of the client's.
    const win32::UniqueWindow own(CreateWindowExW(0, L"#32770", L"Zorvane", WS_POPUP, 0, 0, 9, 9,
                                                  nullptr, nullptr, nullptr, nullptr));
    win32::Win32Desktop desktop;
    ASSERT_EQ(desktop.findWindows("#32770", "Zorvane").front(),
              reinterpret_cast<WindowHandle>(own.get()));

    for (const std::string& title :
         {std::string("Away"), std::string("away message"), std::string("Away Message "),
          std::string("Away Message\0 2", 15), std::string()}) {
        setawaytext(desktop, title, "wrong: " + title);
    }
    const std::string text = "Back at 5\r\n%n " + beyondAscii;
    setawaytext(desktop, "Away Message", text);
    setawaytext(desktop, "Zorvane", "for the client");
    EXPECT_EQ(client.records(2), (std::vector<std::string>{text, "for the client"}));
}

TEST(MessagesOnTheDesktop, SetawaytextGivesUpOnAClientThatHangs) {
    const FakeImClient client(FakeWindows{{"#32770", "Away Message"}});
    ASSERT_TRUE(client.log);
    win32::Win32Desktop desktop;
    // The first write hangs the client while it handles it; the second finds it hung.
    for (const char* text : {"(hang) now", "to a hung client"}) {
        const auto start = std::chrono::steady_clock::now();
        setawaytext(desktop, "Away Message", text);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << text;
    }
    EXPECT_TRUE(FindWindowExW(client.log, nullptr, L"Static", L"(hang) now"));
}

TEST(MessagesOnTheDesktop, CurrentsongReadsThePlayersTitleCutTo127Units) {
    win32::Win32Desktop desktop;
    EXPECT_EQ(currentsong(desktop), "Winamp Is Currently Off");
    const std::string emoji = "😀";  // two UTF-16 units
    const struct {
        FakeWindows player;
        std::string song;
    } cases[] = {
        {{{"Winamp v1.x", "1. Song - Winamp"}}, "1. Song "},
        {{{"Winamp v1.x", "Other - Winamp"}, {"STUDIO", "A - Winamp - Winamp"}}, "A  "},
        {{{"Winamp v1.x", beyondAscii + " - Winamp"}}, beyondAscii + " "},
        {{{"Winamp v1.x", "Song - winamp"}}, "Song - winamp"},
        {{{"STUDIO", ""}}, ""},
        // The cut comes first, splits the "- Winamp" that follows, and never splits a pair.
        {{{"STUDIO", std::string(122, 'x') + " - Winamp"}}, std::string(122, 'x') + " - Wi"},
        {{{"STUDIO", std::string(126, 'x') + emoji}}, std::string(126, 'x')},
        {{{"STUDIO", std::string(125, 'x') + emoji + "x"}}, std::string(125, 'x') + emoji},
    };
    for (const auto& c : cases) {
        const FakeImClient player(c.player);
        ASSERT_TRUE(player.log);
        EXPECT_EQ(currentsong(desktop), c.song) << c.player.back().second;
    }
}

TEST(MessagesOnTheDesktop, MemorystatsAgreesWithTheSystem) {
    win32::Win32Desktop desktop;
    const std::string line = replaceAll(memorystats(desktop), desktop.decimalSeparator(), ".");
    MEMORYSTATUSEX status{.dwLength = sizeof status};
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    const auto megabytes = [](std::uint64_t bytes) {
        return std::floor(static_cast<double>(bytes) / 1044032 * 10 + 0.5) / 10;
    };
    double available = 0, total = 0, percent = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "Physical Mem Free: %lf MB of %lf MB (%lf%%)", &available,
                          &total, &percent),
              3)
        << line;
    EXPECT_DOUBLE_EQ(total, megabytes(status.ullTotalPhys));
    // Free memory moves between the two reads.
    EXPECT_NEAR(available, megabytes(status.ullAvailPhys), total / 20);
    EXPECT_EQ(percent, std::floor(available / total * 100));
}

}  // namespace
}  // namespace zorvane::driver
