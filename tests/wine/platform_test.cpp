// The platform layer's own calls on the real desktop under Wine: the event pump against
// sources of messages that never run dry, and the view of other programs' top-level windows.

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>  // after windows.h, which it needs

#include "driver.h"
#include "platform/win32/handles.h"
#include "platform/win32/message_pump.h"

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

}  // namespace
}  // namespace zorvane::driver
