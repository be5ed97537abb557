// Win32Desktop against real windows: the test's own, and those of the fake IM client.

#include "platform/win32/win32_desktop.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <memory>

#include "fake_driver.h"
#include "platform/win32/wide.h"
#include "text/utf.h"

namespace zorvane::win32 {
namespace {

using fakes::FakeImClient;

struct WindowDestroyer {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

WindowHandle handle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

UniqueWindow ownWindow(const wchar_t* className, std::string_view title, HWND parent = nullptr,
                       DWORD style = WS_POPUP) {
    return UniqueWindow(CreateWindowExW(0, className, widen(title).c_str(), style, 0, 0, 200, 100,
                                        parent, nullptr, nullptr, nullptr));
}

const std::string emoji = "😀";  // two UTF-16 units
const std::string beyondAscii = "Grüße ☃ " + emoji + " – ok";

TEST(Win32DesktopTest, FindsTopLevelWindowsByClassAndWholeExactTitle) {
    FakeImClient fake({{"#32770", "Away Message"},
                       {"#32770", "Away Message"},
                       {"#32770", "Away Message 2"},
                       {"#32770", beyondAscii},
                       {"Winamp v1.x", "Song - Winamp"}});
    ASSERT_TRUE(fake.ready());
    Win32Desktop desktop;

    const auto found = desktop.findWindows("#32770", "Away Message");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_NE(found[0], found[1]);
    EXPECT_EQ(desktop.findWindows("#32770", beyondAscii),
              std::vector{handle(fake.window("#32770", beyondAscii))});
    for (const auto& [className, title] : std::vector<std::pair<std::string, std::string>>{
             {"#32770", "Away"},
             {"#32770", "away message"},
             {"#32770", std::string("Away Message\0 2", 15)},
             {"Winamp v1.x", "Away Message"},
             {"No Such Class", "Away Message"},
             {"#32770", ""}}) {
        EXPECT_TRUE(desktop.findWindows(className, title).empty()) << className << "/" << title;
    }

    const WindowHandle player = desktop.findWindowByClass("Winamp v1.x");
    EXPECT_EQ(player, handle(fake.window("Winamp v1.x", "Song - Winamp")));
    EXPECT_EQ(desktop.findWindowByClass("No Such Class"), 0u);
}

TEST(Win32DesktopTest, FindsDirectChildrenByClass) {
    FakeImClient fake({{"#32770", "Away Message"}});
    ASSERT_TRUE(fake.ready());
    Win32Desktop desktop;
    const WindowHandle dialog = handle(fake.window("#32770", "Away Message"));

    const WindowHandle container = desktop.findChild(dialog, "WndAte32Class");
    ASSERT_NE(container, 0u);
    EXPECT_EQ(desktop.findChild(container, "Ate32Class"),
              handle(FakeImClient::editField(fake.window("#32770", "Away Message"))));
    EXPECT_EQ(desktop.findChild(dialog, "Ate32Class"), 0u);  // a grandchild is not a child
    EXPECT_EQ(desktop.findChild(0, "#32770"), 0u);           // nor is a top-level window
}

TEST(Win32DesktopTest, TellsItsOwnWindowsFromOtherProcesses) {
    FakeImClient fake({{"#32770", "Zorvane"}});
    ASSERT_TRUE(fake.ready());
    Win32Desktop desktop;
    const UniqueWindow own = ownWindow(L"#32770", "Zorvane");
    ASSERT_TRUE(own);

    EXPECT_TRUE(desktop.belongsToThisProcess(handle(own.get())));
    EXPECT_FALSE(desktop.belongsToThisProcess(handle(fake.window("#32770", "Zorvane"))));
    EXPECT_FALSE(desktop.belongsToThisProcess(0));
    const HWND closed = ownWindow(L"STATIC", "closed").release();
    DestroyWindow(closed);
    EXPECT_FALSE(desktop.belongsToThisProcess(handle(closed)));
}

TEST(Win32DesktopTest, ReadsCaptionsUpToALimitWithoutSplittingAPair) {
    const struct {
        std::string title;
        std::size_t limit;
        std::string expected;
    } cases[] = {
        {std::string(200, 'a'), 127, std::string(127, 'a')},
        {std::string(126, 'b') + emoji, 127, std::string(126, 'b')},
        {std::string(125, 'c') + emoji, 127, std::string(125, 'c') + emoji},
        {beyondAscii, 127, beyondAscii},
        {"abcdef", 3, "abc"},
        {"abcdef", 0, ""},
        {"", 127, ""},
    };
    std::vector<fakes::FakeWindow> foreign;
    for (const auto& c : cases)
        foreign.push_back({"ZorvaneCaption", c.title});
    FakeImClient fake(foreign);
    ASSERT_TRUE(fake.ready());
    Win32Desktop desktop;

    for (const auto& c : cases) {
        const UniqueWindow own = ownWindow(L"STATIC", c.title);
        EXPECT_EQ(desktop.windowText(handle(own.get()), c.limit), c.expected) << c.title;
        const HWND other = fake.window("ZorvaneCaption", c.title);
        EXPECT_EQ(desktop.windowText(handle(other), c.limit), c.expected) << c.title;
    }
    EXPECT_EQ(desktop.windowText(0, 127), "");
}

TEST(Win32DesktopTest, WritesTextIntoAnotherProcesssWindow) {
    FakeImClient fake({{"#32770", "Away Message"}});
    ASSERT_TRUE(fake.ready());
    Win32Desktop desktop;
    const HWND edit = FakeImClient::editField(fake.window("#32770", "Away Message"));

    const std::vector<std::string> texts = {"plain",     "two\r\nlines\n",
                                            beyondAscii, "back\\slash \"quoted\" %n",
                                            "",          std::string(5000, 'x')};
    for (const auto& text : texts)
        desktop.setWindowText(handle(edit), text);
    EXPECT_EQ(fake.log().waitForRecords(texts.size()), texts);

    desktop.setWindowText(handle(edit), beyondAscii);
    EXPECT_EQ(desktop.windowText(handle(edit), 1000), beyondAscii);
}

TEST(Win32DesktopTest, HandsUrlsUnchangedToTheRegisteredHandler) {
    Win32Desktop desktop;
    desktop.openUrl("aim:goaway?message=nobody");  // no handler yet: lost, without a hang
    fakes::AimHandler handler;
    ASSERT_TRUE(handler.registered());

    const std::vector<std::string> urls = {
        "aim:goaway?message=<title>Zorvane</title>a+b%2B%26%23%25n&x=1#frag",
        "aim:goaway?message=</title>Zorvane</title><", "aim:goaway?message=" + beyondAscii + "%5C"};
    std::vector<std::string> received;
    for (const auto& url : urls) {
        desktop.openUrl(url);
        received = handler.log().waitForRecords(received.size() + 1);
    }
    EXPECT_EQ(received, urls);
}

TEST(Win32DesktopTest, ReadsTheMemoryStatusIn64Bits) {
    Win32Desktop desktop;
    const MemoryStatus status = desktop.memoryStatus();
    MEMORYSTATUSEX expected{};
    expected.dwLength = sizeof expected;
    ASSERT_TRUE(GlobalMemoryStatusEx(&expected));

    EXPECT_EQ(status.totalPhys, expected.ullTotalPhys);
    // Free memory moves between the two reads.
    EXPECT_NEAR(static_cast<double>(status.availPhys), static_cast<double>(expected.ullAvailPhys),
                static_cast<double>(expected.ullTotalPhys) / 20);
    EXPECT_LE(status.availPhys, status.totalPhys);
}

TEST(Win32DesktopTest, ReadsTheUsersDecimalSeparator) {
    const std::string separator = Win32Desktop().decimalSeparator();
    EXPECT_FALSE(separator.empty());
    EXPECT_LE(utf16Length(separator), 3u);
}

TEST(Win32DesktopTest, PumpRunsWaitingMessagesAndKeepsAQuitForTheMainLoop) {
    Win32Desktop desktop;
    const HWND window = ownWindow(L"STATIC", "closes when its WM_CLOSE is dispatched").release();
    PostMessageW(window, WM_CLOSE, 0, 0);
    PostQuitMessage(7);

    desktop.pumpEvents();
    EXPECT_FALSE(IsWindow(window));
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u);
}

TEST(Win32DesktopTest, PumpMovesTheFocusOnTab) {
    Win32Desktop desktop;
    const UniqueWindow parent = ownWindow(L"STATIC", "Zorvane", nullptr, WS_OVERLAPPEDWINDOW);
    ShowWindow(parent.get(), SW_SHOW);
    const UniqueWindow first =
        ownWindow(L"EDIT", "", parent.get(), WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    const UniqueWindow second =
        ownWindow(L"EDIT", "", parent.get(), WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    SetFocus(first.get());
    ASSERT_EQ(GetFocus(), first.get());

    PostMessageW(first.get(), WM_KEYDOWN, VK_TAB, 0);
    desktop.pumpEvents();
    EXPECT_EQ(GetFocus(), second.get());
}

TEST(Win32DesktopTest, ClockRunsForwardInFractionsOfASecond) {
    Win32Desktop desktop;
    const double start = desktop.clockSeconds();
    double last = start;
    bool forward = true;
    bool fractional = false;
    EXPECT_TRUE(fakes::waitUntil([&] {
        const double now = desktop.clockSeconds();
        forward = forward && now >= last;
        fractional = fractional || now != std::floor(now);
        last = now;
        return now - start >= 0.05;
    }));
    EXPECT_TRUE(forward);
    EXPECT_TRUE(fractional);
}

}  // namespace
}  // namespace zorvane::win32
