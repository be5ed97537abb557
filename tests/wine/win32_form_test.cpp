// The Win32 forms against real windows: what a user (or an automation tool) finds on screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/prompt_dialog.h"
#include "platform/win32/win32_ui.h"

namespace zorvane::win32 {
namespace {

using enum ControlKind;

constexpr Font tahoma{"Tahoma", 8.25, 400};
constexpr Font sansSerif{"MS Sans Serif", 8.25, 400};

// Every kind of control, in tab order; `count` sits over the run of spaces in `legend`.
constexpr ControlLayout controls[] = {
    {.id = 10, .kind = MultiLineTextBox, .rect = {5, 5, 200, 60}, .font = sansSerif},
    {.id = 11, .kind = Label, .text = "Heading", .rect = {5, 70, 100, 15}},
    {.id = 12, .kind = TextBox, .text = "0", .rect = {60, 90, 30, 16}},
    {.id = 13, .kind = Label, .text = "Count            Min.", .rect = {5, 90, 150, 15}},
    {.id = 14, .kind = CheckBox, .text = "Hide", .rect = {5, 110, 120, 15}},
    {.id = 15, .kind = Frame, .rect = {150, 110, 70, 17}},
    {.id = 16,
     .kind = Label,
     .text = "Set Away",
     .rect = {0, 0, 68, 13},
     .parentId = 15,
     .align = Align::Center},
    {.id = 17, .kind = ListBox, .rect = {5, 130, 100, 50}},
    {.id = 18, .kind = PushButton, .text = "Add", .rect = {110, 130, 40, 20}},
    {.id = 19, .kind = TextBox, .text = "below", .rect = {10, 300, 30, 16}},  // unseen
    {.id = 20, .kind = Timer, .intervalMs = 10},
    {.id = 21, .kind = Timer, .intervalMs = 10},
};
enum : int { notes = 10, heading, count, legend, hide, frame, setAway, list, add, unseen };
enum : int { slowTimer = 20, fastTimer };

constexpr FormLayout mainSpec{.caption = "Zorvane form test",
                              .clientWidth = 250,
                              .clientHeight = 245,
                              .kind = FormKind::Main,
                              .font = tahoma,
                              .controls = controls};
constexpr FormLayout toolSpec{.caption = "Zorvane tool test",
                              .clientWidth = 316,
                              .clientHeight = 158,
                              .kind = FormKind::Tool,
                              .controls = std::span(controls, 2)};

// Runs the window's messages until `done` holds; false when it does not within 20 s.
bool waitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

std::wstring text(HWND window) {
    std::wstring result(256, L'\0');
    result.resize(GetWindowTextW(window, result.data(), static_cast<int>(result.size())));
    return result;
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The child with this control id, at any depth.
HWND findChild(HWND parent, int id) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == id) return child;
        if (HWND inner = findChild(child, id)) return inner;
    }
    return nullptr;
}

// A top-level dialog window owned by `owner`, waited for from another thread.
HWND waitForDialog(HWND owner) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
            if (className(window) == L"#32770" && GetWindow(window, GW_OWNER) == owner &&
                IsWindowVisible(window)) {
                return window;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return nullptr;
}

void postClick(HWND control, UINT down = WM_LBUTTONDOWN) {
    PostMessageW(control, down, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

class FormTest : public testing::Test {
  protected:
    explicit FormTest(const FormLayout& layout = mainSpec)
        : form(ui.createForm(layout)),
          window(FindWindowW(formClassName,
                             std::wstring(layout.caption.begin(), layout.caption.end()).c_str())) {}

    HWND child(int id) const { return findChild(window, id); }
    void showAndPaint() {
        form->show();
        ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(window) != FALSE; }));
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }

    Win32Ui ui{GetModuleHandleW(nullptr)};
    std::unique_ptr<Form> form;
    HWND window;
};

TEST_F(FormTest, MainWindowHasTheClientSizeBorderAndIconOfItsDescription) {
    ASSERT_NE(window, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 250);
    EXPECT_EQ(client.bottom, 245);

    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);

    // The test program carries the program's icon resource, as zorvane.exe does.
    const auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 32);
    EXPECT_EQ(bitmap.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    EXPECT_FALSE(form->visible());
    form->show();
    EXPECT_TRUE(form->visible());
    form->hide();
    EXPECT_FALSE(form->visible());
}

TEST_F(FormTest, EveryControlIsAChildWindowWithItsIdClassPlaceAndText) {
    struct Case {
        int id;
        const wchar_t* className;
        const wchar_t* text;
        bool tabStop;
    };
    const Case cases[] = {
        {notes, L"Edit", L"", true},
        {heading, L"Static", L"Heading", false},
        {count, L"Edit", L"0", true},
        {legend, L"Static", L"Count            Min.", false},
        {hide, L"Button", L"Hide", true},
        {frame, frameClassName, L"", false},
        {setAway, L"Static", L"Set Away", false},
        {list, L"ListBox", L"", true},
        {add, L"Button", L"Add", true},
        {unseen, L"Edit", L"below", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const HWND control = child(c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(_wcsicmp(className(control).c_str(), c.className), 0) << className(control);
        EXPECT_EQ(text(control), c.text);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
        EXPECT_EQ((style & WS_TABSTOP) != 0, c.tabStop);
        EXPECT_TRUE(style & WS_VISIBLE);

        const ControlLayout& layout =
            *std::find_if(std::begin(controls), std::end(controls),
                          [&](const ControlLayout& s) { return s.id == c.id; });
        EXPECT_EQ(GetParent(control), layout.parentId ? child(layout.parentId) : window);
        RECT rect{};
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, layout.rect.left);
        EXPECT_EQ(rect.top, layout.rect.top);
        EXPECT_EQ(rect.right - rect.left, layout.rect.width);
        EXPECT_EQ(rect.bottom - rect.top, layout.rect.height);
    }
    const auto noteStyle = static_cast<DWORD>(GetWindowLongPtrW(child(notes), GWL_STYLE));
    EXPECT_EQ(noteStyle & (ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL),
              static_cast<DWORD>(ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL));
    EXPECT_EQ(GetWindowLongPtrW(child(setAway), GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
    EXPECT_FALSE(GetWindowLongPtrW(child(list), GWL_STYLE) & LBS_SORT);
}

TEST_F(FormTest, ControlsUseTheWindowFontUnlessTheyNameTheirOwn) {
    for (int id : {notes, heading, count, legend, hide, setAway, list, add}) {
        SCOPED_TRACE(id);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(child(id), WM_GETFONT, 0, 0));
        LOGFONTW logFont{};
        ASSERT_TRUE(GetObjectW(font, sizeof logFont, &logFont));
        EXPECT_STREQ(logFont.lfFaceName, id == notes ? L"MS Sans Serif" : L"Tahoma");
        EXPECT_EQ(logFont.lfHeight, -11);
        EXPECT_EQ(logFont.lfWeight, 400);
        EXPECT_EQ(logFont.lfCharSet, ANSI_CHARSET);
        EXPECT_FALSE(logFont.lfItalic || logFont.lfUnderline || logFont.lfStrikeOut);
    }
}

TEST_F(FormTest, TabMovesThroughFocusableControlsInOrderAndFocusStartsInTheFirst) {
    showAndPaint();
    EXPECT_TRUE(waitUntil([&] { return GetFocus() == child(notes); }));

    std::vector<int> order;
    HWND at = child(notes);
    for (int i = 0; i < 6; ++i) {
        at = GetNextDlgTabItem(window, at, FALSE);
        order.push_back(GetDlgCtrlID(at));
    }
    EXPECT_EQ(order, (std::vector<int>{count, hide, list, add, unseen, notes}));
}

TEST_F(FormTest, TextIsBlackOnWhiteInLabelsCheckBoxesAndTextBoxes) {
    struct Case {
        int id;
        UINT message;
        HWND sentTo;
    };
    const Case cases[] = {{heading, WM_CTLCOLORSTATIC, window},
                          {hide, WM_CTLCOLORSTATIC, window},
                          {count, WM_CTLCOLOREDIT, window},
                          {setAway, WM_CTLCOLORSTATIC, child(frame)}};  // via its frame
    const HDC dc = CreateCompatibleDC(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        SetTextColor(dc, RGB(1, 2, 3));
        SetBkColor(dc, RGB(4, 5, 6));
        const auto brush =
            reinterpret_cast<HBRUSH>(SendMessageW(c.sentTo, c.message, reinterpret_cast<WPARAM>(dc),
                                                  reinterpret_cast<LPARAM>(child(c.id))));
        LOGBRUSH logBrush{};
        ASSERT_TRUE(GetObjectW(brush, sizeof logBrush, &logBrush));
        EXPECT_EQ(logBrush.lbColor, RGB(255, 255, 255));
        EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
        EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    }
    DeleteDC(dc);
    EXPECT_TRUE(GetWindowLongPtrW(child(frame), GWL_STYLE) & WS_BORDER);
}

TEST_F(FormTest, TextBoxOverALabelStaysOnTopWhenTheLabelRepaints) {
    showAndPaint();
    // The box's sunken edge, read after the label under it has painted again.
    const HWND box = child(count);
    const HDC boxDc = GetWindowDC(box);
    const COLORREF edge = GetPixel(boxDc, 0, 0);
    EXPECT_NE(edge, RGB(255, 255, 255));
    InvalidateRect(child(legend), nullptr, TRUE);
    UpdateWindow(child(legend));
    EXPECT_EQ(GetPixel(boxDc, 0, 0), edge);
    ReleaseDC(box, boxDc);
}

TEST_F(FormTest, ClicksAndDoubleClicksReachTheirHandlers) {
    struct Case {
        int id;
        UINT down;
        int clicks;
        int doubleClicks;
    };
    const Case cases[] = {
        {heading, WM_LBUTTONDOWN, 1, 0},   {setAway, WM_LBUTTONDOWN, 1, 0},  // label in a frame
        {add, WM_LBUTTONDOWN, 1, 0},       {hide, WM_LBUTTONDOWN, 1, 0},
        {heading, WM_LBUTTONDBLCLK, 0, 1}, {list, WM_LBUTTONDBLCLK, 0, 1},
    };
    showAndPaint();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        int clicks = 0, doubleClicks = 0;
        form->onClick(c.id, [&] { ++clicks; });
        form->onDoubleClick(c.id, [&] { ++doubleClicks; });
        postClick(child(c.id), c.down);
        EXPECT_TRUE(waitUntil([&] { return clicks + doubleClicks > 0; }));
        EXPECT_EQ(clicks, c.clicks);
        EXPECT_EQ(doubleClicks, c.doubleClicks);
        form->onClick(c.id, nullptr);
        form->onDoubleClick(c.id, nullptr);
    }
    EXPECT_EQ(form->checkBox(hide).value(), 1);  // the check box ticked itself
}

TEST_F(FormTest, TimerTicksOnlyWhileEnabled) {
    int slow = 0, fast = 0;
    form->onTimer(slowTimer, [&] { ++slow; });
    form->onTimer(fastTimer, [&] { ++fast; });
    auto& timer = form->timer(slowTimer);
    EXPECT_FALSE(timer.enabled());

    timer.setEnabled(true);
    EXPECT_TRUE(timer.enabled());
    EXPECT_TRUE(waitUntil([&] { return slow >= 3; }));

    timer.setEnabled(false);
    EXPECT_FALSE(timer.enabled());
    // A tick already queued when the timer stopped is dropped.
    PostMessageW(window, WM_TIMER, slowTimer, 0);
    const int stoppedAt = slow;
    form->timer(fastTimer).setEnabled(true);
    EXPECT_TRUE(waitUntil([&] { return fast >= 5; }));
    EXPECT_EQ(slow, stoppedAt);

    // A handler may stop its own timer.
    form->onTimer(fastTimer, [&] {
        ++fast;
        form->timer(fastTimer).setEnabled(false);
    });
    fast = 0;
    EXPECT_TRUE(waitUntil([&] { return fast == 1 && !form->timer(fastTimer).enabled(); }));
    timer.setEnabled(true);
    EXPECT_TRUE(waitUntil([&] { return slow >= stoppedAt + 3; }));
    EXPECT_EQ(fast, 1);
}

TEST_F(FormTest, TextControlsAndCheckBoxReadBackWhatWasWritten) {
    const std::string unicode =
        "Gr\xC3\xBC\xC3\x9F"
        "e \xE2\x82\xAC 5";
    struct Case {
        int id;
        std::string text;
    };
    for (const Case& c : {Case{notes, "Gone\r\nBack soon"}, Case{count, "-32767"},
                          Case{heading, unicode}, Case{setAway, "Set Back"}, Case{unseen, ""}}) {
        form->textControl(c.id).setText(c.text);
        EXPECT_EQ(form->textControl(c.id).text(), c.text);
    }
    auto& box = form->checkBox(hide);
    EXPECT_EQ(box.value(), 0);
    box.setValue(1);
    EXPECT_EQ(SendMessageW(child(hide), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(box.value(), 1);
    box.setValue(0);
    EXPECT_EQ(box.value(), 0);
}

TEST_F(FormTest, ListBoxKeepsEntriesInOrderWithOneSelection) {
    auto& entries = form->listBox(list);
    EXPECT_EQ(entries.count(), 0);
    EXPECT_EQ(entries.selected(), -1);
    for (const char* entry : {"zed-later", "amy-back at 5", "-"})
        entries.add(entry);
    ASSERT_EQ(entries.count(), 3);
    EXPECT_EQ(entries.item(0), "zed-later");  // never sorted
    EXPECT_EQ(entries.item(2), "-");
    EXPECT_EQ(entries.item(3), "");  // no such entry
    EXPECT_EQ(entries.item(-1), "");

    entries.setSelected(2);
    EXPECT_EQ(entries.selected(), 2);
    entries.remove(0);  // the selection moves up with its entry
    EXPECT_EQ(entries.selected(), 1);
    EXPECT_EQ(entries.item(0), "amy-back at 5");
    entries.remove(1);  // the selected one
    EXPECT_EQ(entries.selected(), -1);
    EXPECT_EQ(entries.count(), 1);
    entries.setSelected(0);
    entries.setSelected(-1);
    EXPECT_EQ(entries.selected(), -1);
}

TEST_F(FormTest, AskingForAControlThatIsNotThereIsAnError) {
    EXPECT_THROW(form->textControl(999), std::invalid_argument);
    EXPECT_THROW(form->checkBox(heading), std::invalid_argument);
    EXPECT_THROW(form->timer(list), std::invalid_argument);
    EXPECT_THROW(form->listBox(slowTimer), std::invalid_argument);
    EXPECT_THROW(form->onClick(999, [] {}), std::invalid_argument);

    const ControlLayout twice[] = {{.id = 1, .kind = Label}, {.id = 1, .kind = TextBox}};
    const ControlLayout orphan[] = {{.id = 2, .kind = Label, .parentId = 3}};
    for (auto bad :
         {std::span<const ControlLayout>(twice), std::span<const ControlLayout>(orphan)}) {
        EXPECT_THROW(ui.createForm({.caption = "bad", .controls = bad}), std::invalid_argument);
    }
}

// Modal windows are answered from another thread, as a user would: find, type, click (posted).
TEST_F(FormTest, MessageBoxIsOwnedByTheFormAndClosesWithOk) {
    showAndPaint();
    std::wstring title;
    bool textShown = false;
    std::jthread user([&] {
        const HWND dialog = waitForDialog(window);
        if (!dialog) return;
        title = text(dialog);
        // The box may be visible a moment before its text is filled in.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!textShown && std::chrono::steady_clock::now() < deadline) {
            for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                textShown = textShown || text(c) == L"one message per screen name";
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        PostMessageW(FindWindowExW(dialog, nullptr, L"Button", nullptr), BM_CLICK, 0, 0);
    });
    form->messageBox("one message per screen name", "Zorvane");
    user.join();
    EXPECT_EQ(title, L"Zorvane");
    EXPECT_TRUE(textShown);
}

TEST_F(FormTest, PromptGivesTheTypedTextOnOkAndNothingOtherwise) {
    struct Case {
        const char* title;
        const wchar_t* typed;
        std::function<void(HWND)> close;
        std::string expected;
    };
    const auto click = [](int button) {
        return [button](HWND dialog) { PostMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0); };
    };
    const Case cases[] = {
        {"", L"John Doe", click(IDOK), "John Doe"},
        {"Zorvane", L"caf\u00E9 \u20AC", click(IDOK), "caf\xC3\xA9 \xE2\x82\xAC"},
        {"", L"", click(IDOK), ""},
        {"", L"typed, then cancelled", click(IDCANCEL), ""},
        {"", L"typed, then closed",
         [](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }, ""},
    };
    showAndPaint();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        std::wstring title, prompt;
        std::jthread user([&] {
            const HWND dialog = waitForDialog(window);
            if (!dialog) return;
            title = text(dialog);
            prompt = text(GetDlgItem(dialog, PromptDialog::textId));
            SetWindowTextW(GetDlgItem(dialog, PromptDialog::editId), c.typed);
            c.close(dialog);
        });
        EXPECT_EQ(form->prompt("Enter Screen Name:", c.title), c.expected);
        user.join();
        EXPECT_EQ(title, std::wstring(c.title, c.title + std::strlen(c.title)));
        EXPECT_EQ(prompt, L"Enter Screen Name:");
    }
}

TEST_F(FormTest, CloseBoxRunsTheHandlerAndTheWindowStaysUnlessTheFormGoes) {
    showAndPaint();
    int closes = 0;
    form->onClose([&] { ++closes; });
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(waitUntil([&] { return closes == 1; }));
    EXPECT_TRUE(IsWindow(window));

    form->onClose([&] { form.reset(); });
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(waitUntil([&] { return !form; }));
    EXPECT_FALSE(IsWindow(window));
}

class ToolFormTest : public FormTest {
  protected:
    ToolFormTest() : FormTest(toolSpec) {}
};

TEST_F(ToolFormTest, ToolWindowIsBuiltHiddenUnownedAndLeavesOtherWindowsUsable) {
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    EXPECT_EQ(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 316);
    EXPECT_EQ(client.bottom, 158);

    // Without a font of its own the window uses the dialog font.
    LOGFONTW logFont{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(child(heading), WM_GETFONT, 0, 0)),
               sizeof logFont, &logFont);
    NONCLIENTMETRICSW metrics{.cbSize = sizeof metrics};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    EXPECT_STREQ(logFont.lfFaceName, metrics.lfMessageFont.lfFaceName);

    const auto main = ui.createForm(mainSpec);
    main->show();
    showAndPaint();
    EXPECT_TRUE(main->visible());
    EXPECT_TRUE(IsWindowEnabled(FindWindowW(formClassName, L"Zorvane form test")));
}

}  // namespace
}  // namespace zorvane::win32
