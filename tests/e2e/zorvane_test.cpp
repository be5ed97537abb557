// The real program, used as a user would, in a few runs that each walk through several pieces of
// its wiring; the fake IM client records what reaches it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <sstream>

#include "driver.h"
#include "messages/awaymessage.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_desktop.h"
#include "windows/control_ids.h"

namespace zorvane::driver {
namespace {

using Texts = std::vector<std::string>;
const std::string command = "aim:goaway?message=<title>Zorvane</title>";

// When the fake client got record i (from 0), and the time now, on its clock.
double receivedAt(const FakeImClient& client, std::size_t i) {
    return made(GetDlgItem(client.log, static_cast<int>(i + 1)));
}
double now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Whether what `read` reads of the window becomes `value` in time.
bool becomes(auto read, HWND window, const auto& value) {
    return waitUntil([&] { return read(window) == value; });
}

TEST(Zorvane, FromTheKeyboardHiddenRefusedLongAndAbout) {
    const FakeImClient client;
    const Zorvane app;
    ASSERT_TRUE(client.open("#32770", "Zorvane") && app.main);  // the client's away dialog
    const HWND awaym = app.control(ids::awaym), countdown = app.control(ids::countdown);
    const HWND Label8 = app.control(ids::Label8), vp = app.control(ids::vp);
    const auto focus = [&] {
        GUITHREADINFO info{.cbSize = sizeof info};
        GetGUIThreadInfo(GetWindowThreadProcessId(app.main, nullptr), &info);
        return info.hwndFocus;
    };
    // Tab goes round the boxes and label buttons, never to the boxes out of sight. On Set Away's
    // frame Space clicks it, then Enter (Set Back); Esc in the template box closes nothing.
    type(awaym, "Busy");
    ASSERT_TRUE(waitUntil([&] { return focus() == awaym; }));
    PostMessageW(awaym, WM_KEYDOWN, VK_ESCAPE, 0);
    for (const HWND next : {countdown, GetParent(app.control(ids::Label9)), GetParent(Label8), vp,
                            GetParent(app.control(ids::Label2)), awaym}) {
        PostMessageW(focus(), WM_KEYDOWN, VK_TAB, 0);
        ASSERT_TRUE(waitUntil([&] { return focus() == next; }));
        if (next != GetParent(Label8)) continue;
        PostMessageW(next, WM_KEYDOWN, VK_SPACE, 0);
        PostMessageW(next, WM_KEYDOWN, VK_RETURN, 0);
    }
    EXPECT_EQ(client.records(1), Texts{command + "Busy"});
    EXPECT_TRUE(becomes(text, Label8, "Set Away"));

    // Hidden: refused before anything is sent (a check made too late would have sent the
    // placeholder), then the placeholder and the text in the away dialog, in either order.
    click(vp);
    type(countdown, "ten");
    click(Label8);
    EXPECT_EQ(app.answer("Count Down must be a whole number from -32767 to 32767."), app.main);
    type(countdown, "0");
    click(Label8);
    EXPECT_TRUE(std::ranges::is_permutation(
        client.records(3),
        Texts{command + "Busy", "Busy", "aim:goaway?message=</title>Zorvane</title><"}));

    // Through this system's shell the longest command arrives whole, and one unit more is
    // refused; the program lives on after both (an old Wine's shell crashes its caller on a long
    // command).
    click(Label8);
    click(vp);
    const std::size_t limit = [] {
        win32::Win32Desktop desktop;
        return awayCommandLimit(desktop.wineVersion(), desktop.urlSchemeCommand("aim"));
    }();
    const std::string longest(limit - command.size(), 'x');
    type(awaym, longest);
    click(Label8);
    EXPECT_EQ(client.records(4).at(3), command + longest);
    click(Label8);
    type(awaym, longest + "x");
    click(Label8);
    EXPECT_EQ(app.answer("The away message is 1 character too long to hand to the IM client. It "
                         "is counted as it would be sent, with %c, %u, %s and %m filled in; each "
                         "line break counts as 4 characters, and each of % + & # \" \\ as 3."),
              app.main);

    // One About window; its link opens a browser window per click, and the program works on.
    click(app.control(ids::Label2));
    const HWND about = app.window(".:About:.");
    click(app.control(ids::Label2));
    click(child(about, ids::Form3Label1));
    click(child(about, ids::Form3Label1));
    EXPECT_TRUE(waitUntil([] {  // the two browser windows show
        const HWND first = FindWindowW(L"IEFrame", nullptr);
        return IsWindowVisible(first) &&
               IsWindowVisible(FindWindowExW(nullptr, first, L"IEFrame", nullptr));
    }));
    EXPECT_EQ(FindWindowW(nullptr, L".:About:."), about);
    for (HWND browser = nullptr; (browser = FindWindowExW(nullptr, browser, L"IEFrame", nullptr));)
        PostMessageW(browser, WM_CLOSE, 0, 0);  // their process would outlive ours
    EXPECT_TRUE(waitUntil([] { return !FindWindowW(L"IEFrame", nullptr); }));
}

TEST(Zorvane, StartedMinimizedHandsOutBuddysMessagesFromTheExtraWindowThenCloses) {
    const FakeImClient client;
    const Zorvane app(true, SW_SHOWMINNOACTIVE);  // "run minimized" in a shortcut
    ASSERT_TRUE(client.log && app.main);
    EXPECT_TRUE(IsIconic(app.main));
    const HWND Label8 = app.control(ids::Label8);
    type(app.control(ids::awaym), "Away %u");
    click(Label8);
    click(app.control(ids::Label9));
    const HWND extra = app.window("Extra");
    const HWND List1 = child(extra, ids::List1), List2 = child(extra, ids::List2);
    ASSERT_TRUE(app.add(extra, "Bob", "hi"));
    ASSERT_TRUE(app.add(extra, "BOB", "again"));
    EXPECT_EQ(app.answer("one message per screen name"), extra);

    // With no away dialog the entry still moves and nothing is written. The hand-out is over
    // once the count-up shows both its expansions.
    const HWND bob = client.open("AIM_IMessage", "Bob - Instant Message");
    EXPECT_TRUE(becomes(items, List2, Texts{"bob-hi"}));
    EXPECT_TRUE(becomes(text, app.control(ids::countup), "3"));
    EXPECT_EQ(text(bob), "Bob - Instant Message");
    click(Label8);

    // Back to waiting, then removed with a double click; the close box discards the rest.
    PostMessageW(List2, LB_SETCURSEL, 0, 0);
    click(child(extra, ids::addtowait));
    EXPECT_TRUE(becomes(items, List1, Texts{"bob-hi"}));
    doubleClick(List1, 0);
    EXPECT_TRUE(becomes(items, List1, Texts{}));
    PostMessageW(extra, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(extra); }));
    click(app.control(ids::Label9));
    const HWND again = app.window("Extra");
    EXPECT_EQ(items(child(again, ids::List1)).size() + items(child(again, ids::List2)).size(), 0u);

    // Carl's message, then half a second later the away message, though "Add" was clicked just
    // after his message went in and its prompt is open.
    click(Label8);
    ASSERT_EQ(client.records(2), Texts(2, command + "Away+1"));  // the handler is another process
    ASSERT_TRUE(client.open("#32770", "Away Message"));
    ASSERT_TRUE(app.add(again, "Carl", "see you"));
    client.open("AIM_IMessage", "Carl");
    ASSERT_EQ(client.records(3).at(2), "see you");
    click(child(again, ids::add));
    EXPECT_EQ(client.records(4).at(3), "Away 3");
    const double held = made(GetDlgItem(client.log, 4)) - made(GetDlgItem(client.log, 3));
    std::printf("a buddy's message held the away dialog %.0f ms with a prompt open\n", held * 1e3);
    EXPECT_TRUE(held >= 0.5 && held < 1.0) << held;

    // Closing the main window ends the program, even while a prompt is open.
    EXPECT_FALSE(IsWindowEnabled(again));  // its prompt is open
    PostMessageW(app.main, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(WaitForSingleObject(app.process->info.hProcess, 20000), WAIT_OBJECT_0);
}

// Two buddies whose windows are open at Set Away are answered one after the other, each with
// its half second; a Set Away in hidden mode inside a buddy's half second does not lengthen it.
TEST(Zorvane, EachBuddysMessageHasItsHalfSecondWhateverTheUserClicks) {
    const FakeImClient client;
    const Zorvane app;
    ASSERT_TRUE(client.open("#32770", "Away Message") && client.open("#32770", "Zorvane") &&
                app.main);
    const HWND Label8 = app.control(ids::Label8);
    type(app.control(ids::awaym), "Away %u");
    click(app.control(ids::Label9));
    const HWND extra = app.window("Extra");
    for (const char* name : {"Dan", "Eve", "Fay"})
        ASSERT_TRUE(app.add(extra, name, (std::string(name) + "'s").c_str()));
    ASSERT_TRUE(client.open("AIM_IMessage", "Dan") && client.open("AIM_IMessage", "Eve"));
    click(Label8);
    // The away command comes from another process, the handler, in its own time. In the away
    // dialog, the newest window's buddy first, as the desktop lists them.
    Texts written = client.records(5);
    std::vector<double> at;
    for (std::size_t i = 0; i < written.size(); ++i)
        at.push_back(receivedAt(client, i));
    const auto url = std::ranges::find(written, command + "Away+1");
    ASSERT_NE(url, written.end());
    at.erase(at.begin() + (url - written.begin()));
    written.erase(url);
    EXPECT_EQ(written, (Texts{"Eve's", "Away 3", "Dan's", "Away 5"}));
    for (const std::size_t buddy : {0u, 2u}) {
        const double held = at.at(buddy + 1) - at[buddy];
        std::printf("%s held the away dialog %.0f ms\n", written[buddy].c_str(), held * 1e3);
        EXPECT_GE(held, 0.5);
    }

    // A quarter second into Fay's, Set Back, then Set Away in hidden mode.
    ASSERT_TRUE(client.open("AIM_IMessage", "Fay"));
    ASSERT_EQ(client.records(6).at(5), "Fay's");
    ASSERT_TRUE(waitUntil([&] { return now() - receivedAt(client, 5) >= 0.25; }));
    click(Label8);
    click(app.control(ids::vp));
    click(Label8);
    const Texts after = client.records(9);
    ASSERT_EQ(after.size(), 9u);
    // Fay's second write, expanded first after the new Set Away; then the hidden text.
    const auto back = std::ranges::find(after.begin() + 6, after.end(), "Away 1");
    ASSERT_NE(back, after.end());
    const double held = receivedAt(client, back - after.begin()) - receivedAt(client, 5);
    std::printf("Fay's held the away dialog %.0f ms with a hidden Set Away in it\n", held * 1e3);
    EXPECT_TRUE(held >= 0.5 && held < 0.7) << held;
}

// DLLs with system DLLs' names planted beside a copy of the program, preferred to Wine's own as
// Windows prefers one in a program's folder. This Wine loads those that its own DLLs import
// before the program's first line: it ignores the load configuration with which Windows 10
// (1607 and later) keeps them out. What the program loads later, itself (the shell for the away
// command, the browser's object, their dependencies), comes from the system folder. One
// exception: this Wine loads the DLLs that its own DLLs delay-load (uxtheme's msimg32) without
// the program's setting, which Windows applies to them too.
TEST(Zorvane, LoadsNoDllPlantedBesideItOnceStarted) {
    std::wstring here(MAX_PATH, L'\0');
    here.resize(GetModuleFileNameW(nullptr, here.data(), MAX_PATH));
    here.resize(here.rfind(L'\\') + 1);
    const std::wstring folder = here + L"planted\\";
    std::wstring system(MAX_PATH, L'\0');
    system.resize(GetSystemDirectoryW(system.data(), MAX_PATH));
    std::istringstream list(PLANTED_DLLS);
    const Texts names{std::istream_iterator<std::string>(list), {}};
    for (const std::string& name : names) {
        const std::wstring dll = win32::widen(name) + L".dll";
        ASSERT_TRUE(CopyFileW((system + L"\\" + dll).c_str(), (folder + L"real" + dll).c_str(), 0));
        DeleteFileW((folder + dll + L".loaded").c_str());
    }
    ASSERT_TRUE(
        CopyFileW((here + L"..\\..\\zorvane.exe").c_str(), (folder + L"zorvane.exe").c_str(), 0));
    const auto loaded = [&] {
        Texts found;
        for (const std::string& name : names) {
            const std::wstring note = folder + win32::widen(name) + L".dll.loaded";
            if (GetFileAttributesW(note.c_str()) != INVALID_FILE_ATTRIBUTES) found.push_back(name);
        }
        return found;
    };
    const auto joined = [](const Texts& texts) {
        std::string all;
        for (const std::string& text : texts)
            all += (all.empty() ? "" : " ") + text;
        return all.empty() ? std::string("none") : all;
    };

    // Native first for the planted names, for the program alone (Wine's overrides per program).
    const wchar_t* const program = L"Software\\Wine\\AppDefaults\\zorvane.exe";
    const struct Undo {
        const wchar_t* key;
        ~Undo() { RegDeleteTreeW(HKEY_CURRENT_USER, key); }
    } undo{program};
    for (const std::string& name : names) {
        const std::wstring value = L"native,builtin";
        RegSetKeyValueW(HKEY_CURRENT_USER, (std::wstring(program) + L"\\DllOverrides").c_str(),
                        win32::widen(name).c_str(), REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    const FakeImClient client;
    const Zorvane app(true, SW_SHOWDEFAULT, L"planted\\zorvane.exe");
    ASSERT_TRUE(client.log && app.main);
    const Texts atStart = loaded();

    // Set Away hands the away command to the shell; the About link opens the browser's object.
    type(app.control(ids::awaym), "Busy");
    click(app.control(ids::Label8));
    EXPECT_EQ(client.records(1), Texts{command + "Busy"});
    click(app.control(ids::Label2));
    click(child(app.window(".:About:."), ids::Form3Label1));
    EXPECT_TRUE(waitUntil([] { return IsWindowVisible(FindWindowW(L"IEFrame", nullptr)); }));
    for (HWND browser = nullptr; (browser = FindWindowExW(nullptr, browser, L"IEFrame", nullptr));)
        PostMessageW(browser, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil([] { return !FindWindowW(L"IEFrame", nullptr); }));
    const Texts atEnd = loaded();
    std::printf("planted DLLs loaded by the time the main window showed: %s; at the end: %s\n",
                joined(atStart).c_str(), joined(atEnd).c_str());

    // The shell, and its shcore, wait for the first away command.
    EXPECT_EQ(std::ranges::count(atStart, "shcore"), 0);
    Texts later;
    std::ranges::copy_if(atEnd, std::back_inserter(later), [&](const std::string& name) {
        return !std::ranges::count(atStart, name);
    });
    std::erase(later, "msimg32");
    EXPECT_EQ(later, Texts{}) << "loaded from the program's folder once it ran";
}

}  // namespace
}  // namespace zorvane::driver
