// The away-message procedures on the real desktop: the shell hands the away command to an
// "aim:" handler, texts reach the away dialog of another process, the probes read the system.

#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <memory>

#include "fake_driver.h"
#include "messages/awaymessage.h"
#include "platform/win32/win32_desktop.h"
#include "text/number.h"

namespace zorvane {
namespace {

using fakes::FakeImClient;
using fakes::formDecode;
using win32::Win32Desktop;

WindowHandle handle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

const std::string beyondAscii = "Grüße ☃ 😀 –";

TEST(AwayMessageOnWine, GoawayReachesTheHandlerAsTyped) {
    fakes::AimHandler handler;
    ASSERT_TRUE(handler.registered());
    Win32Desktop desktop;
    const std::string texts[] = {
        "50% & more", "C++", "a b  c",    "C:\\dir\\", "say \"hi\" #1 %n %d %t",
        beyondAscii,  "",    "a<br>b\tc", "%41+%2B"};

    const std::string command = "aim:goaway?message=";
    std::vector<std::string> received;
    for (const auto& text : texts) {
        goaway(desktop, urlMessageForm(text));
        received = handler.log().waitForRecords(received.size() + 1);
        ASSERT_FALSE(received.empty());
        ASSERT_TRUE(received.back().starts_with(command)) << received.back();
        EXPECT_EQ(formDecode(received.back().substr(command.size())),
                  "<title>Zorvane</title>" + text);
    }

    goaway(desktop, placeholderMessage);
    received = handler.log().waitForRecords(received.size() + 1);
    EXPECT_EQ(received.back(), command + "</title>Zorvane</title><");
}

TEST(AwayMessageOnWine, SetawaytextWritesOnlyIntoTheDialogWithThatExactTitle) {
    FakeImClient fake({{"#32770", "Away Message"}});
    ASSERT_TRUE(fake.ready());
    Win32Desktop desktop;

    for (const char* other : {"Away", "away message", "Away Message ", "No Such Dialog"}) {
        setawaytext(desktop, other, "wrong");
    }
    const std::string text = "Back at 5\r\n%n " + beyondAscii;
    setawaytext(desktop, "Away Message", text);
    EXPECT_EQ(fake.log().waitForRecords(1), std::vector{text});
}

struct WindowDestroyer {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

TEST(AwayMessageOnWine, SetawaytextSkipsADialogOfItsOwnProcess) {
    FakeImClient fake({{"#32770", "Zorvane"}});
    ASSERT_TRUE(fake.ready());
    // Our own "Zorvane" dialog, in front of the client's.
    const UniqueWindow own(CreateWindowExW(0, L"#32770", L"Zorvane", WS_POPUP, 0, 0, 200, 100,
                                           nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(own);
    SetWindowPos(own.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Win32Desktop desktop;
    ASSERT_EQ(desktop.findWindows("#32770", "Zorvane").front(), handle(own.get()));

    setawaytext(desktop, "Zorvane", "for the client");
    EXPECT_EQ(fake.log().waitForRecords(1), std::vector<std::string>{"for the client"});
}

TEST(AwayMessageOnWine, CurrentsongReadsThePlayersTitle) {
    Win32Desktop desktop;
    ASSERT_EQ(desktop.findWindowByClass("STUDIO"), 0u);
    ASSERT_EQ(desktop.findWindowByClass("Winamp v1.x"), 0u);
    EXPECT_EQ(currentsong(desktop), "Winamp Is Currently Off");

    const struct {
        std::vector<fakes::FakeWindow> player;
        std::string song;
    } cases[] = {
        {{{"Winamp v1.x", "1. Song - Winamp"}}, "1. Song "},
        {{{"Winamp v1.x", "Other - Winamp"}, {"STUDIO", "A - Winamp - Winamp"}}, "A  "},
        {{{"Winamp v1.x", beyondAscii + " - Winamp"}}, beyondAscii + " "},
        {{{"Winamp v1.x", "Song - winamp"}}, "Song - winamp"},
        {{{"STUDIO", ""}}, ""},
        // The cut to 127 units comes first and splits the "- Winamp" that follows.
        {{{"STUDIO", std::string(122, 'x') + " - Winamp"}}, std::string(122, 'x') + " - Wi"},
    };
    for (const auto& c : cases) {
        FakeImClient player(c.player);
        ASSERT_TRUE(player.ready());
        EXPECT_EQ(currentsong(desktop), c.song) << c.player.front().title;
    }
}

// The figure before " MB" that follows `label`, read with the given decimal separator.
double megabytesAfter(const std::string& line, std::string_view label,
                      const std::string& separator) {
    const std::size_t start = line.find(label) + label.size();
    const std::string_view text =
        std::string_view(line).substr(start, line.find(" MB", start) - start);
    std::string number;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i).starts_with(separator)) {
            number += '.';
            i += separator.size() - 1;
        } else {
            number += text[i];
        }
    }
    return std::stod(number);
}

TEST(AwayMessageOnWine, MemorystatsAgreesWithTheSystem) {
    Win32Desktop desktop;
    const std::string line = memorystats(desktop);
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    const std::string separator = desktop.decimalSeparator();
    const auto megabytes = [](std::uint64_t bytes) {
        return std::floor(static_cast<double>(bytes) / 1044032 * 10 + 0.5) / 10;
    };

    const double total = megabytes(status.ullTotalPhys);
    ASSERT_TRUE(line.starts_with("Physical Mem Free: ")) << line;
    EXPECT_NE(line.find(" MB of " + formatDecimal(total, separator) + " MB ("), std::string::npos)
        << line;
    // Free memory moves between the two reads.
    const double available = megabytesAfter(line, "Free: ", separator);
    EXPECT_NEAR(available, megabytes(status.ullAvailPhys), total / 20) << line;
    EXPECT_TRUE(line.ends_with(
        " MB (" + formatDecimal(std::floor(available / total * 100), separator) + "%)"))
        << line;
}

}  // namespace
}  // namespace zorvane
