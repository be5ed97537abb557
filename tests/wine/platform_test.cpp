// The platform layer's own calls on the real desktop under Wine: the event pump against
// sources of messages that never run dry, and the view of other programs' top-level windows.

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>  // after windows.h, which it needs

#include <algorithm>

#include "driver.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_desktop.h"

namespace zorvane::driver {
namespace {

// Each run takes 20 ms, longer than the timer's period; after 50 runs the source stops, so a
// pump that never returned fails here instead of hanging the tests.
LRESULT CALLBACK slowHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR runs) noexcept {
    if (message != WM_TIMER && message != WM_APP)
        return DefSubclassProc(window, message, wParam, lParam);
    Sleep(20);
    if (++*reinterpret_cast<int*>(runs) == 50) {
        KillTimer(window, 1);
    } else if (message == WM_APP) {
        PostMessageW(window, WM_APP, 0, 0);
    }
    return 0;
}

TEST(PlatformOnTheDesktop, APumpRunsWhatWasWaitingAndReturns) {
    for (const bool timer : {true, false}) {
        SCOPED_TRACE(timer ? "a 1 ms timer" : "a message whose handler posts it again");
        int runs = 0;
        const win32::UniqueWindow window(CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0,
                                                         HWND_MESSAGE, nullptr, nullptr, nullptr));
        SetWindowSubclass(window.get(), slowHandler, 0, reinterpret_cast<DWORD_PTR>(&runs));
        if (timer) {
            SetTimer(window.get(), 1, 1, nullptr);
        } else {
            PostMessageW(window.get(), WM_APP, 0, 0);
        }
        // The first pump that finds the source runs it once, and a second time at most for
        // what the first run posted; the next pumps go on with it.
        ASSERT_TRUE(waitUntil([&] { return runs > 0; }));
        EXPECT_LE(runs, 2);
        EXPECT_TRUE(waitUntil([&] { return runs > 2; }));
    }
}

TEST(PlatformOnTheDesktop, SeesAnotherProgramsTopLevelWindowsComeAndGo) {
    win32::Win32Desktop desktop;  // watching before the client makes its windows
    const FakeImClient client(FakeWindows{{"#32770", "Away Message"}});
    ASSERT_TRUE(client.log);
    const std::string longClass = "AIM_IMessage with more after the prefix";
    const HWND im = client.open(longClass, "Jo Ann - Instant Message");
    const HWND dialog = FindWindowW(L"#32770", L"Away Message");
    ASSERT_TRUE(im && dialog);
    const auto handle = [](HWND window) { return reinterpret_cast<WindowHandle>(window); };

    const auto ofClient = [&](std::vector<WindowHandle> windows) {
        std::erase_if(windows, [&](WindowHandle window) {
            DWORD process = 0;
            GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &process);
            return process != client.process.info.dwProcessId;
        });
        return windows;
    };

    // Every top-level window of the client is reported created, the last one last, and none
    // of their children.
    std::vector<WindowHandle> created;
    ASSERT_TRUE(waitUntil([&] {
        std::ranges::copy(ofClient(desktop.takeCreatedWindows()), std::back_inserter(created));
        return !created.empty() && created.back() == handle(im);
    }));
    // The very list EnumWindows gives, in its order (message-only windows left out).
    const auto enumWindows = [] {
        std::vector<WindowHandle> windows;
        EnumWindows(
            [](HWND window, LPARAM found) {
                reinterpret_cast<std::vector<WindowHandle>*>(found)->push_back(
                    reinterpret_cast<WindowHandle>(window));
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&windows));
        return windows;
    };
    EXPECT_TRUE(waitUntil([&] { return desktop.topLevelWindows() == enumWindows(); }));
    const std::vector<WindowHandle> windows = ofClient(desktop.topLevelWindows());
    EXPECT_TRUE(std::ranges::is_permutation(created, windows));
    EXPECT_TRUE(std::ranges::count(windows, handle(dialog)) &&
                std::ranges::count(windows, handle(client.log)));
    EXPECT_EQ(desktop.className(handle(im), 12), "AIM_IMessage");
    EXPECT_EQ(desktop.className(handle(im), 256), longClass);
    EXPECT_EQ(desktop.className(handle(dialog), 12), "#32770");

    EXPECT_TRUE(desktop.windowExists(handle(im)));
    PostMessageW(im, WM_CLOSE, 0, 0);
    ASSERT_TRUE(waitUntil([&] { return !desktop.windowExists(handle(im)); }));
    // Once a listing no longer shows it, its class is not remembered either.
    EXPECT_EQ(std::ranges::count(desktop.topLevelWindows(), handle(im)), 0);
    EXPECT_EQ(desktop.className(handle(im), 12), "");
    EXPECT_TRUE(desktop.windowExists(handle(dialog)));
}

}  // namespace
}  // namespace zorvane::driver
