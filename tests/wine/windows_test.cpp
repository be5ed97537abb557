// The real window layer: the main and Extra windows built from their layouts, as a user (or an
// automation tool) finds them on screen. What the program does with them is the e2e tests'.

#include <gtest/gtest.h>

#include <span>
#include <tuple>

#include "driver.h"
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

TEST(RealWindows, EveryWindowIsBuiltAsItsLayoutSays) {
    NONCLIENTMETRICSW metrics{.cbSize = sizeof metrics};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const LOGFONTW& dialog = metrics.lfMessageFont;
    // Each kind of control, in the order of ControlKind: its window class and the style bits it
    // must have (a timer has no window).
    constexpr const char* classes[] = {"Static", "Edit",    "Edit", "Button", "ZorvaneFrame",
                                       "Button", "ListBox", "",     "Static"};
    constexpr LONG_PTR styles[] = {
        0, 0, ES_MULTILINE | ES_WANTRETURN, BS_AUTOCHECKBOX, WS_BORDER, 0, 0, 0, SS_BITMAP};
    const struct {
        const FormLayout& layout;
        bool tool;
        LONG width, height;
        std::vector<int> tabs;  // where Tab moves the focus from the first control, round to it
    } forms[] = {
        {form1Layout(), false, 250, 245, {countdown, vp, countup, Text1, awaym}},
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
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(std::tuple(client.right, client.bottom), std::tuple(form.width, form.height));
        EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) &
                      (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
                  WS_SYSMENU | (form.tool ? 0 : WS_MINIMIZEBOX));
        EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW,
                  form.tool ? WS_EX_TOOLWINDOW : 0);
        EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
        EXPECT_EQ(SendMessageW(window, WM_GETICON, ICON_BIG, 0) != 0, !form.tool);

        for (const ControlLayout& c : form.layout.controls) {
            if (c.kind == ControlKind::Timer) continue;
            SCOPED_TRACE(c.name);
            const HWND control = child(window, c.id);
            ASSERT_TRUE(control);
            const auto kind = static_cast<std::size_t>(c.kind);
            const LONG_PTR style = styles[kind] | (c.align == Align::Center ? SS_CENTER : 0);
            EXPECT_EQ(className(control), classes[kind]);
            EXPECT_EQ(GetWindowLongPtrW(control, GWL_STYLE) & style, style);
            EXPECT_EQ(GetParent(control), c.parentId ? child(window, c.parentId) : window);
            RECT r{};
            GetWindowRect(control, &r);
            MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
            EXPECT_EQ(std::tuple(r.left, r.top, r.right - r.left, r.bottom - r.top),
                      std::tuple(c.rect.left, c.rect.top, c.rect.width, c.rect.height));
            const std::optional<Font>& named = c.font ? c.font : form.layout.font;
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)),
                       sizeof font, &font);
            if (c.kind == ControlKind::Image) {
                BITMAP picture{};
                GetObjectW(
                    reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0)),
                    sizeof picture, &picture);
                EXPECT_EQ(std::tuple(picture.bmWidth, picture.bmHeight),
                          std::tuple(c.rect.width, c.rect.height));
            }
            if (c.kind == ControlKind::Frame || c.kind == ControlKind::Image) continue;  // no text
            EXPECT_EQ(std::tuple(std::wstring(font.lfFaceName), font.lfHeight, font.lfWeight),
                      named ? std::tuple(win32::widen(named->face), -11L,  // all are 8.25 pt
                                         static_cast<LONG>(named->weight))
                            : std::tuple(std::wstring(dialog.lfFaceName), dialog.lfHeight,
                                         dialog.lfWeight));
        }
        if (form.tabs.empty()) continue;  // nothing in it takes the focus

        bool closed = false;
        built->onClose([&] { closed = true; });
        built->show();
        const HWND first = child(window, form.tabs.back());
        EXPECT_TRUE(waitUntil([&] { return GetFocus() == first; }));
        for (const int next : form.tabs) {
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
            win32::pumpPendingMessages();
            EXPECT_EQ(GetDlgCtrlID(GetFocus()), next);
        }
        // Esc in the first control (the template box) must not close the window.
        PostMessageW(first, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(first, WM_KEYUP, VK_ESCAPE, 0);
        win32::pumpPendingMessages();
        win32::pumpPendingMessages();
        EXPECT_FALSE(closed);
    }
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
