// The Win32 layer against real windows under Wine: the event pump, other programs' windows, the
// shell and the "aim:" handler, an IM client that stops answering; and what the layer adds to
// the windows' layouts (scaling, fonts, the picture). The keyboard is the e2e tests'.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "driver.h"
#include "messages/awaymessage.h"
#include "platform/win32/dpi.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_ui.h"
#include "windows/control_ids.h"
#include "windows/form1_layout.h"
#include "windows/form2.h"
#include "windows/form2_layout.h"
#include "windows/form3_layout.h"

namespace zorvane::driver {
namespace {

WindowHandle handle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

// Each tick takes 20 ms, longer than the timer's period. After 50 ticks the timer stops, so a
// pump that never returned fails here instead of hanging the tests.
TEST(Desktop, APumpReturnsThoughEveryTickOutlastsTheTimersPeriod) {
    static int ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR timer, DWORD) {
        Sleep(20);
        if (++ticks == 50) KillTimer(nullptr, timer);
    });
    ASSERT_TRUE(waitUntil([&] { return ticks > 0; }));
    EXPECT_EQ(ticks, 1);
    EXPECT_TRUE(waitUntil([&] { return ticks > 2; }));  // the next pumps go on with it
    KillTimer(nullptr, timer);
}

TEST(Desktop, SeesAnotherProgramsWindowsAndHandsItTheAwayCommandAndText) {
    win32::Win32Desktop desktop;  // goes last: once the client has gone, the shell finishes
    // No handler yet: the command is lost, without a window of the shell's, and the call runs
    // none of our messages (under Wine the shell's error box would run them all).
    const auto before = desktop.topLevelWindows();
    PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
    EXPECT_FALSE(goaway(desktop, "nobody"));
    MSG posted;
    EXPECT_TRUE(PeekMessageW(&posted, nullptr, WM_APP, WM_APP, PM_REMOVE));
    for (const WindowHandle window : desktop.topLevelWindows())
        EXPECT_EQ(std::ranges::count(before, window), 1) << desktop.className(window, 99);

    // Its windows are seen made, listed and gone, their class cut as asked.
    const FakeImClient client;
    const HWND im = client.open("AIM_IMessage with more after the prefix", "Jo Ann");
    std::vector<WindowReport> reports;
    const auto reported = [&](WindowReport report) {
        std::ranges::copy(desktop.takeWindowReports(), std::back_inserter(reports));
        return std::ranges::count(reports, report) == 1;
    };
    ASSERT_TRUE(im && waitUntil([&] { return reported({WindowReport::Created, handle(im)}); }));
    // Renames and closes are reported on Windows; this Wine may not (the full look stands in).
    SendMessageTimeoutW(im, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Jo Ann - IM"),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    const bool renames = waitUntil(
        [&] {
            return reported({WindowReport::Renamed, handle(im)});
        },
        std::chrono::seconds(2));
    EXPECT_EQ(std::ranges::count(desktop.topLevelWindows(), handle(im)), 1);
    EXPECT_EQ(desktop.className(handle(im), 12), "AIM_IMessage");
    EXPECT_EQ(desktop.className(handle(im), 256), "AIM_IMessage with more after the prefix");
    PostMessageW(im, WM_CLOSE, 0, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(im); }));
    const bool closes = waitUntil(
        [&] {
            return reported({WindowReport::Destroyed, handle(im)});
        },
        std::chrono::seconds(2));
    std::printf("this system reports another program's windows renamed: %s, closed: %s\n",
                renames ? "yes" : "no", closes ? "yes" : "no");
    // Once a listing no longer shows it, its class is not remembered either.
    EXPECT_EQ(std::ranges::count(desktop.topLevelWindows(), handle(im)), 0);
    EXPECT_EQ(desktop.className(handle(im), 12), "");
    // The player's title, cut at 127 UTF-16 units, never through a pair.
    ASSERT_TRUE(client.open("Winamp v1.x", std::string(126, 'x') + "😀 - Winamp"));
    EXPECT_EQ(currentsong(desktop), std::string(126, 'x'));

    // The handler gets the whole URL.
    const std::string message = urlMessageForm("50% & \"C++\" #1 a  b C:\\ Grüße ☃ 😀 – (x)*!");
    EXPECT_TRUE(goaway(desktop, message));
    EXPECT_EQ(client.records(1), std::vector{awayCommand(message)});
    // The write hangs the client while it handles it; a caption of another case is not the
    // dialog's. Only the write that hangs it reaches it (looked up without asking it): it went
    // in, though the wait for the client was cut short.
    ASSERT_TRUE(client.open("#32770", "Away Message"));
    setawaytext(desktop, "away message", "wrong");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(setawaytext(desktop, "Away Message", "(hang) now"), Write::Made);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(GetDlgCtrlID(FindWindowExW(client.log, nullptr, nullptr, L"(hang) now")), 2);
    // Once the system sees that the client hangs, nothing more is sent to it.
    EXPECT_TRUE(waitUntil(
        [&] { return setawaytext(desktop, "Away Message", "more") == Write::NotAnswering; }));
}

// The shell's thread goes on answering what a shell extension or DDE left on it.
TEST(ShellLauncher, ItsThreadAnswersAWindowLeftThere) {
    HWND left = nullptr;  // made before open() returns
    win32::ShellLauncher shell([&](const std::wstring&, bool) {
        left = CreateWindowExW(0, L"Static", {}, 0, 0, 0, 0, 0, HWND_MESSAGE, {}, {}, {});
        return true;
    });
    shell.open(L"aim:x");
    EXPECT_NE(SendMessageTimeoutW(left, WM_NULL, 0, 0, SMTO_NORMAL, 1000, nullptr), 0);
}

// Entries another program adds to the waiting list or removes from it are seen at the next lookup.
TEST(ExtraWindow, TheWaitingListsLookupSeesWhatAnotherProgramChanges) {
    win32::Win32Ui ui(GetModuleHandleW(nullptr));
    Form2 extra(ui, [] {});
    const HWND list1 = child(FindWindowW(win32::formClassName, L"Extra"), ids::List1);
    EXPECT_EQ(extra.waiting().checklist("bob"), std::nullopt);
    appendItem(list1, "amy-hi");
    appendItem(list1, "bob-hi");
    EXPECT_EQ(extra.waiting().checklist("bob"), 1);
    SendMessageW(list1, LB_DELETESTRING, 0, 0);
    EXPECT_EQ(extra.waiting().checklist("bob"), 0);
}

TEST(RealWindows, At144DpiGrowByHalfWithTheirFonts) {
    if (win32::dpiOf(GetDesktopWindow()) != 144) {  // Wine reads it when a process starts
        const wchar_t key[] = L"Control Panel\\Desktop";
        const DWORD dpi = 144;
        RegSetKeyValueW(HKEY_CURRENT_USER, key, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
        const Process again(std::wstring(GetCommandLineW()) + L" --gtest_filter=RealWindows.*");
        DWORD exitCode = WaitForSingleObject(again.info.hProcess, 120000);
        GetExitCodeProcess(again.info.hProcess, &exitCode);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, key, L"LogPixels");  // back to 96
        EXPECT_EQ(exitCode, 0u);
        return;
    }
    NONCLIENTMETRICSW metrics{.cbSize = sizeof metrics};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    win32::Win32Ui ui(GetModuleHandleW(nullptr));
    const struct {
        const FormLayout& layout;
        LONG width, height;  // of the client area: 1.5 times 250 x 245, 316 x 158, 212 x 49
    } forms[] = {{form1Layout(), 375, 368}, {form2Layout(), 474, 237}, {form3Layout(), 318, 74}};
    for (const auto& [layout, width, height] : forms) {
        const auto form = ui.createForm(layout);
        const HWND window = FindWindowW(win32::formClassName, nullptr);
        RECT r{};
        GetClientRect(window, &r);
        EXPECT_EQ(std::pair(r.right, r.bottom), std::pair(width, height));
        for (const ControlLayout& c : layout.controls) {
            SCOPED_TRACE(c.name);
            const HWND control = child(window, c.id);
            if (c.kind == ControlKind::Image) {  // drawn at its own size whatever the DPI
                BITMAP picture{};
                GetObjectW(reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, 0, 0)),
                           sizeof picture, &picture);
                EXPECT_EQ(std::pair(picture.bmWidth, picture.bmHeight), std::pair(48L, 46L));
            }
            if (c.kind == ControlKind::Frame || c.kind == ControlKind::Image || !control) continue;
            // Every named font is of 8.25 points: 11 pixels at 96 DPI, rounded down at 144.
            const auto shown = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
            LOGFONTW font{};
            GetObjectW(shown, sizeof font, &font);
            const std::optional<Font>& named = c.font ? c.font : layout.font;
            const LONG at96 = named ? 11 : -MulDiv(metrics.lfMessageFont.lfHeight, 2, 3);
            EXPECT_EQ(
                std::pair(font.lfHeight, font.lfWeight),
                std::pair(-(at96 * 3 / 2), named ? named->weight : metrics.lfMessageFont.lfWeight));
        }
        // The main window's icons, each of its own size at this DPI, not the other scaled.
        for (const auto& [which, size] : {std::pair{ICON_BIG, 48}, {ICON_SMALL, 24}}) {
            if (layout.kind != FormKind::Main) break;
            ICONINFO icon{};
            GetIconInfo(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0)), &icon);
            BITMAP shown{};
            GetObjectW(icon.hbmColor, sizeof shown, &shown);
            DeleteObject(icon.hbmColor);
            DeleteObject(icon.hbmMask);
            EXPECT_EQ(shown.bmWidth, size) << which;
        }
        // A window of fixed size is never zoomed, however it is shown (Windows shows the main
        // window maximized at first when a shortcut says "Run: Maximized").
        const auto place = [&] {
            RECT r{};
            GetWindowRect(window, &r);
            return std::tuple(r.left, r.top, r.right, r.bottom, IsZoomed(window));
        };
        const auto normal = place();
        ShowWindow(window, SW_SHOWMAXIMIZED);
        EXPECT_TRUE(waitUntil([&] { return place() == normal; }));
    }
}

}  // namespace
}  // namespace zorvane::driver
