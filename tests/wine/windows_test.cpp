// The real window layer: the main and Extra windows built from their layouts, as a user (or an
// automation tool) finds them on screen. What the program does with them is the e2e tests'.

#include <gtest/gtest.h>

#include <cstdlib>
#include <span>
#include <tuple>

#include "driver.h"
#include "platform/win32/handles.h"
#include "platform/win32/message_pump.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_ui.h"
#include "windows/control_ids.h"
#include "windows/form1_layout.h"
#include "windows/form2_layout.h"
#include "windows/form3_layout.h"

namespace zorvane::driver {
namespace {

using namespace ids;

HWND windowOf(const FormLayout& layout) {
    return FindWindowW(win32::formClassName, win32::widen(layout.caption).c_str());
}

// A layout value in pixels at `dpi`.
int pixels(int value, LayoutUnit unit, UINT dpi) {
    return MulDiv(value, static_cast<int>(dpi), unit == LayoutUnit::Twips ? 1440 : 96);
}

// The extent of the control's text on one line in `font`.
SIZE extent(HWND control, HFONT font) {
    const std::wstring caption = win32::widen(text(control));
    const HDC dc = GetDC(control);
    const HGDIOBJ previous = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return size;
}

struct FormCase {
    const FormLayout& layout;
    bool tool;
    LONG width, height;     // of the client area at 96 DPI
    std::vector<int> tabs;  // where Tab moves the focus from the first control, round to it
};

// The window as its layout says at `dpi`.
void expectLaidOut(const FormCase& form, UINT dpi) {
    NONCLIENTMETRICSW metrics{.cbSize = sizeof metrics};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const LOGFONTW& dialog = metrics.lfMessageFont;  // at the process's DPI
    const HDC screen = GetDC(nullptr);
    const int processDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    // Each kind of control, in the order of ControlKind: its window class and the style bits it
    // must have.
    constexpr const char* classes[] = {"Static", "Edit",    "Edit", "Button", "ZorvaneFrame",
                                       "Button", "ListBox", "",     "Static"};
    constexpr LONG_PTR styles[] = {
        0, 0, ES_MULTILINE | ES_WANTRETURN, BS_AUTOCHECKBOX, WS_BORDER, 0, 0, 0, SS_BITMAP};
    const HWND window = windowOf(form.layout);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(std::tuple(client.right, client.bottom),
              std::tuple(pixels(form.width, LayoutUnit::Pixels96, dpi),
                         pixels(form.height, LayoutUnit::Pixels96, dpi)));
    for (const ControlLayout& c : form.layout.controls) {
        if (c.kind == ControlKind::Timer) continue;
        SCOPED_TRACE(c.name);
        const HWND control = child(window, c.id);
        ASSERT_TRUE(control);
        const auto kind = static_cast<std::size_t>(c.kind);
        const LONG_PTR style = styles[kind] | (c.align == Align::Center ? SS_CENTER : 0);
        EXPECT_EQ(className(control), classes[kind]);
        // Edit boxes take a long paste whole; by default they cut it at 30,000 characters.
        EXPECT_TRUE(className(control) != "Edit" ||
                    SendMessageW(control, EM_GETLIMITTEXT, 0, 0) >= 40000);
        EXPECT_EQ(GetWindowLongPtrW(control, GWL_STYLE) & style, style);
        EXPECT_EQ(GetParent(control), c.parentId ? child(window, c.parentId) : window);
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
        const auto px = [&](int value) { return pixels(value, form.layout.unit, dpi); };
        EXPECT_EQ(std::tuple(r.left, r.top, r.right, r.bottom),
                  std::tuple(px(c.rect.left), px(c.rect.top), px(c.rect.left + c.rect.width),
                             px(c.rect.top + c.rect.height)));
        if (c.kind == ControlKind::Image) {  // drawn at its own size whatever the DPI
            BITMAP picture{};
            GetObjectW(
                reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0)),
                sizeof picture, &picture);
            EXPECT_EQ(std::tuple(picture.bmWidth, picture.bmHeight),
                      std::tuple(pixels(c.rect.width, form.layout.unit, 96),
                                 pixels(c.rect.height, form.layout.unit, 96)));
        }
        if (c.kind == ControlKind::Frame || c.kind == ControlKind::Image) continue;  // no text
        const std::optional<Font>& named = c.font ? c.font : form.layout.font;
        const HFONT shown = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        LOGFONTW font{};
        GetObjectW(shown, sizeof font, &font);
        // All named fonts are 8.25 points: 11 pixels at 96 DPI, rounded down elsewhere.
        const LONG at96 = named ? 11 : -MulDiv(dialog.lfHeight, 96, processDpi);
        EXPECT_EQ(std::tuple(std::wstring(font.lfFaceName), font.lfHeight, font.lfWeight),
                  std::tuple(named ? win32::widen(named->face) : std::wstring(dialog.lfFaceName),
                             -(at96 * static_cast<LONG>(dpi) / 96),
                             named ? static_cast<LONG>(named->weight) : dialog.lfWeight));
        // Text too long (or high) for its control grows no faster than the control, so what is
        // cut is cut no more than at 96 DPI.
        font.lfHeight = -at96;
        const win32::UniqueFont fontAt96(CreateFontIndirectW(&font));
        const SIZE now = extent(control, shown), then = extent(control, fontAt96.get());
        GetClientRect(control, &r);
        EXPECT_TRUE(now.cx <= r.right || now.cx * 96 <= then.cx * static_cast<LONG>(dpi));
        EXPECT_TRUE(now.cy <= r.bottom || now.cy * 96 <= then.cy * static_cast<LONG>(dpi));
    }
}

// Run again in a process started at 144 DPI (see below), the windows are checked at that DPI.
UINT expectedDpi() {
    const char* dpi = std::getenv("ZORVANE_TEST_DPI");
    return dpi ? static_cast<UINT>(std::atoi(dpi)) : 96;
}

TEST(RealWindows, EveryWindowIsBuiltAsItsLayoutSays) {
    const FormCase forms[] = {
        {form1Layout(), false, 250, 245, {countdown, Picture6, Picture5, vp, Picture1, awaym}},
        {form2Layout(), true, 316, 158, {add, hide, List2, addtowait, List1}},
        {form3Layout(), true, 212, 49, {}},
    };
    win32::Win32Ui ui(GetModuleHandleW(nullptr));
    for (const auto& form : forms) {
        SCOPED_TRACE(form.layout.caption);
        const auto built = ui.createForm(form.layout);
        const HWND window = windowOf(form.layout);
        ASSERT_TRUE(window);
        EXPECT_FALSE(IsWindowVisible(window));
        EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) &
                      (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
                  WS_SYSMENU | (form.tool ? 0 : WS_MINIMIZEBOX));
        EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW,
                  form.tool ? WS_EX_TOOLWINDOW : 0);
        EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
        EXPECT_EQ(SendMessageW(window, WM_GETICON, ICON_BIG, 0) != 0, !form.tool);
        const UINT dpi = expectedDpi();
        expectLaidOut(form, dpi);

        // Moved to a monitor of another DPI: the suggested rectangle keeps this frame around the
        // new client area (the frame's own size is the system's business).
        const UINT other = dpi == 96 ? 144 : 96;
        RECT frame{}, client{};
        GetWindowRect(window, &frame);
        GetClientRect(window, &client);
        frame.right += pixels(form.width, LayoutUnit::Pixels96, other) - client.right;
        frame.bottom += pixels(form.height, LayoutUnit::Pixels96, other) - client.bottom;
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(other, other),
                     reinterpret_cast<LPARAM>(&frame));
        expectLaidOut(form, other);
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
        if (form.tabs.empty()) continue;  // nothing in it takes the focus

        bool closed = false;
        built->onClose([&] { closed = true; });
        std::vector<int> clicked;
        for (const ControlLayout& c : form.layout.controls) {
            if (c.parentId) built->onClick(c.id, [&clicked, id = c.id] { clicked.push_back(id); });
        }
        built->show();
        const HWND first = child(window, form.tabs.back());
        EXPECT_TRUE(waitUntil([&] { return GetFocus() == first; }));
        for (const int next : form.tabs) {
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
            win32::pumpPendingMessages();
            const HWND focus = GetFocus();
            EXPECT_EQ(GetDlgCtrlID(focus), next);
            if (className(focus) != "ZorvaneFrame") continue;
            // A label button: Space and Enter on its frame click the label.
            clicked.clear();
            PostMessageW(focus, WM_KEYDOWN, VK_SPACE, 0);
            PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 0);
            win32::pumpPendingMessages();
            const int label = GetDlgCtrlID(GetWindow(focus, GW_CHILD));
            EXPECT_EQ(clicked, (std::vector{label, label}));
        }
        // Esc in the first control (the template box) must not close the window.
        PostMessageW(first, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(first, WM_KEYUP, VK_ESCAPE, 0);
        win32::pumpPendingMessages();
        win32::pumpPendingMessages();
        EXPECT_FALSE(closed);
    }
}

// Wine reads its DPI from the registry when a process starts: the test above runs again in a
// process started at 144 DPI, which is set for the prefix meanwhile and then put back.
TEST(RealWindows, AtOneAndAHalfTimesTheDpiTheWindowsScaleAndCutNoMoreText) {
    const HKEY user = HKEY_CURRENT_USER;
    const wchar_t key[] = L"Control Panel\\Desktop";
    DWORD previous = 0, size = sizeof previous;
    const bool had = RegGetValueW(user, key, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &previous,
                                  &size) == ERROR_SUCCESS;
    const DWORD dpi = 144;
    ASSERT_EQ(RegSetKeyValueW(user, key, L"LogPixels", REG_DWORD, &dpi, sizeof dpi), ERROR_SUCCESS);
    wchar_t me[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, me, MAX_PATH);
    SetEnvironmentVariableW(L"ZORVANE_TEST_DPI", L"144");
    DWORD exitCode = 1;
    {
        const Process run(L'"' + std::wstring(me) +
                          L"\" --gtest_filter=RealWindows.EveryWindowIsBuiltAsItsLayoutSays");
        WaitForSingleObject(run.info.hProcess, 120000);
        GetExitCodeProcess(run.info.hProcess, &exitCode);
    }
    SetEnvironmentVariableW(L"ZORVANE_TEST_DPI", nullptr);
    if (had) {
        RegSetKeyValueW(user, key, L"LogPixels", REG_DWORD, &previous, sizeof previous);
    } else {
        RegDeleteKeyValueW(user, key, L"LogPixels");
    }
    EXPECT_EQ(exitCode, 0u);
}

TEST(RealWindows, MainWindowIsWhiteAndTheCountDownBoxStaysOverItsLabel) {
    win32::Win32Ui ui(GetModuleHandleW(nullptr));
    const auto form = ui.createForm(form1Layout());
    form->show();
    const HWND window = windowOf(form1Layout());
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const auto pixel = [&](int id, int x, int y) {
        const HWND control = child(window, id);
        const HDC dc = GetWindowDC(control);
        const COLORREF color = GetPixel(dc, x, y);
        ReleaseDC(control, dc);
        return color;
    };
    constexpr COLORREF white = RGB(255, 255, 255);
    // Beside the texts of a label, of the check box and of a label in its frame.
    EXPECT_EQ(std::tuple(pixel(Label1, 110, 7), pixel(vp, 214, 7), pixel(Label8, 2, 6)),
              std::tuple(white, white, white));
    // The box's sunken edge, read again after the label under it has painted.
    const COLORREF edge = pixel(countdown, 0, 0);
    EXPECT_NE(edge, white);
    RedrawWindow(child(window, Label10), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(pixel(countdown, 0, 0), edge);
}

TEST(RealWindows, TimersTickOnlyWhileEnabled) {
    win32::Win32Ui ui(GetModuleHandleW(nullptr));
    const auto form = ui.createForm(form1Layout());
    int minutes = 0, scans = 0;
    form->onTimer(Timer1, [&] { ++minutes; });
    form->onTimer(Timer2, [&] { ++scans; });
    Timer& scanner = form->timer(Timer2);
    EXPECT_FALSE(scanner.enabled() || form->timer(Timer1).enabled());
    scanner.setEnabled(true);
    EXPECT_TRUE(waitUntil([&] { return scans >= 3; }));
    scanner.setEnabled(false);
    const int stopped = scans;
    // A tick already queued is dropped; the minute's tick posted after it shows it was handled.
    PostMessageW(windowOf(form1Layout()), WM_TIMER, Timer2, 0);
    form->timer(Timer1).setEnabled(true);
    PostMessageW(windowOf(form1Layout()), WM_TIMER, Timer1, 0);
    EXPECT_TRUE(waitUntil([&] { return minutes == 1; }));
    EXPECT_EQ(scans, stopped);
    scanner.setEnabled(true);
    EXPECT_TRUE(waitUntil([&] { return scans >= stopped + 3; }));
}

}  // namespace
}  // namespace zorvane::driver
