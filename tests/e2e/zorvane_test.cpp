// The real program, used as a user would: its main window with the fake IM client recording
// what reaches it, its auto-responder answering the client's windows, and its Extra window.
// Entries reach "Send Complete:" only through a hand-out, which appends to the list box; the
// Extra window's tests append there themselves.

#include <gtest/gtest.h>

#include <algorithm>

#include "driver.h"
#include "windows/control_ids.h"

namespace zorvane::driver {
namespace {

using Texts = std::vector<std::string>;
const std::string placeholder = "aim:goaway?message=</title>Zorvane</title><";

class MainWindow : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(client.log && app.main); }
    bool captionBecomes(std::string_view caption) const {
        return waitUntil([&] { return text(Label8) == caption; });
    }
    void setHidden(bool hidden) const {
        const auto ticked = [&] { return SendMessageW(vp, BM_GETCHECK, 0, 0) == BST_CHECKED; };
        if (ticked() != hidden) click(vp);
        ASSERT_TRUE(waitUntil([&] { return ticked() == hidden; }));
    }

    FakeImClient client{FakeWindows{{"#32770", "Zorvane"}}};  // its away dialog, for hidden mode
    Zorvane app;
    HWND awaym = app.control(ids::awaym), countdown = app.control(ids::countdown);
    HWND countup = app.control(ids::countup), Label8 = app.control(ids::Label8);
    HWND vp = app.control(ids::vp);
};

TEST_F(MainWindow, EachSetAwaySendsItsTemplateOnceAndSetBackSendsNothing) {
    const struct {
        const char *awaym, *countdown, *message, *countdownAfter;
    } cases[] = {
        {"", "0", "", "0"},
        {"Out to lunch", "0", "Out+to+lunch", "0"},
        {"Gone\r\nBack soon", "0", "Gone<br>Back+soon", "0"},
        {"Back in %c min", "10", "Back+in+9+min", "9"},
    };
    Texts sent;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.awaym);
        type(awaym, c.awaym);
        type(countdown, c.countdown);
        click(Label8);
        ASSERT_TRUE(captionBecomes("Set Back"));
        sent.push_back(std::string("aim:goaway?message=<title>Zorvane</title>") + c.message);
        EXPECT_EQ(client.records(sent.size()), sent);
        EXPECT_EQ(text(countdown), c.countdownAfter);
        EXPECT_EQ(text(countup), "1");

        click(Label8);
        ASSERT_TRUE(captionBecomes("Set Away"));
        EXPECT_EQ(text(countup), "0");
        EXPECT_EQ(text(countdown), c.countdownAfter);
    }
    // Whatever a Set Back had sent would have arrived before the next Set Away's command.
    EXPECT_EQ(client.records(), sent);
}

TEST_F(MainWindow, HiddenModeSendsThePlaceholderAndWritesTheTextIntoTheAwayDialog) {
    type(awaym, "Busy");
    setHidden(true);
    click(Label8);
    // The shell and the handler take their time: the two may arrive in either order.
    Texts received = client.records(2);
    std::ranges::sort(received);
    EXPECT_EQ(received, (Texts{"Busy", placeholder}));
    EXPECT_EQ(text(Label8), "Set Back");
    EXPECT_EQ(text(countup), "1");
}

TEST_F(MainWindow, AClientThatHangsWhileWrittenToHoldsSetAwayUpOnlyBriefly) {
    type(awaym, "(hang) busy");
    setHidden(true);
    click(Label8);
    // Looked up without a message: the client answers none any more.
    ASSERT_TRUE(waitUntil(
        [&] { return FindWindowExW(client.log, nullptr, L"Static", L"(hang) busy") != nullptr; }));
    // A posted click runs only once Set Away has given up on the write and returned.
    click(Label8);
    EXPECT_TRUE(captionBecomes("Set Away"));
}

TEST_F(MainWindow, AnInvalidCountDownIsRefusedBeforeAnythingIsSent) {
    type(awaym, "Back in %c min");
    // In hidden mode a check made too late would have sent the placeholder already.
    const std::pair<const char*, bool> cases[] = {
        {"", false}, {"ten", false}, {"32768", false}, {"-32768", true}, {"12abc", true}};
    for (const auto& [bad, hidden] : cases) {
        SCOPED_TRACE(bad);
        setHidden(hidden);
        type(countdown, bad);
        click(Label8);
        const HWND box = app.dialog("Count Down must be a whole number from -32767 to 32767.");
        ASSERT_TRUE(box);
        EXPECT_EQ(GetWindow(box, GW_OWNER), app.main);
        EXPECT_EQ(text(box), "Zorvane");
        EXPECT_EQ(text(Label8), "Set Away");
        ASSERT_TRUE(app.answer(box));
        EXPECT_EQ(text(Label8), "Set Away");
        EXPECT_EQ(text(countdown), bad);
    }
    // Anything the refused clicks had sent would have arrived before this command.
    setHidden(false);
    type(countdown, "5");
    click(Label8);
    EXPECT_EQ(client.records(1), Texts{"aim:goaway?message=<title>Zorvane</title>Back+in+4+min"});
}

TEST_F(MainWindow, ABuddysMessageGoesIntoTheAwayDialogOnceWhenTheBuddysWindowOpens) {
    type(awaym, "Away %u");
    click(Label8);
    ASSERT_TRUE(captionBecomes("Set Back"));
    const std::string sentAtSetAway = "aim:goaway?message=<title>Zorvane</title>Away+1";
    click(app.control(ids::Label9));
    const HWND extra = app.window("Extra");
    const HWND List1 = child(extra, ids::List1), List2 = child(extra, ids::List2);
    const auto holds = [](HWND list, const Texts& entries) {
        return waitUntil([&] { return items(list) == entries; });
    };

    // With no away dialog the entry still moves, and nothing is written. The count-up shows
    // when both expansions of the hand-out have run.
    ASSERT_TRUE(app.add(extra, "Bob", "hi"));
    const HWND bob = client.open("AIM_IMessage", "Bob - Instant Message");
    EXPECT_TRUE(holds(List2, {"bob-hi"}));
    EXPECT_TRUE(waitUntil([&] { return text(countup) == "3"; }));

    // Bob's window stays open all along, and is not answered again.
    ASSERT_TRUE(client.open("#32770", "Away Message"));
    ASSERT_TRUE(app.add(extra, "Jo Ann", "back at 5"));
    const HWND joAnn = client.open("AIM_IMessage", "Jo Ann - Instant Message");
    EXPECT_EQ(client.records(3), (Texts{sentAtSetAway, "back at 5", "Away 5"}));
    EXPECT_GE(client.arrival(2) - client.arrival(1), 0.5);
    EXPECT_EQ(items(List1), Texts{});
    EXPECT_EQ(items(List2), (Texts{"bob-hi", "joann-back at 5"}));

    // Nothing more reaches the client before the next Set Away's command.
    click(Label8);
    ASSERT_TRUE(captionBecomes("Set Away"));
    click(Label8);
    EXPECT_EQ(client.records(4), (Texts{sentAtSetAway, "back at 5", "Away 5", sentAtSetAway}));
    EXPECT_EQ(text(bob), "Bob - Instant Message");
    EXPECT_EQ(text(joAnn), "Jo Ann - Instant Message");
}

TEST_F(MainWindow, TheKeyboardAloneSetsAway) {
    type(awaym, "Out to lunch");
    ASSERT_TRUE(waitUntil([&] { return focus(app.main) == awaym; }));
    // From the template box Tab passes the count-down box and Extra, to Set Away; Space there.
    const HWND frame = GetParent(Label8);
    for (int step = 0; step < 3; ++step) {
        const HWND from = focus(app.main);
        press(from, VK_TAB);
        ASSERT_TRUE(waitUntil([&] { return focus(app.main) != from; }));
    }
    ASSERT_EQ(focus(app.main), frame);
    press(frame, VK_SPACE);
    EXPECT_TRUE(captionBecomes("Set Back"));
    EXPECT_EQ(client.records(1), Texts{"aim:goaway?message=<title>Zorvane</title>Out+to+lunch"});
}

TEST_F(MainWindow, ALongPastedTemplateReachesSetAwayWholeAndIsRefused) {
    std::string words;  // words rather than one long run, which Wine's edit box wraps slowly
    while (words.size() < 40000)
        words += "Out to lunch. ";
    words.resize(40000);
    paste(awaym, words);
    EXPECT_EQ(text(awaym).size(), 40000u);
    click(Label8);
    ASSERT_TRUE(app.answer(app.dialog(
        "The away message is too long to hand to the IM client (at most 32000 characters).")));
    EXPECT_EQ(text(Label8), "Set Away");
}

TEST(Start, StartedMinimizedTheMainWindowShowsMinimized) {
    const Zorvane app(true, SW_SHOWMINNOACTIVE);  // "run minimized" in a shortcut
    ASSERT_TRUE(app.main);
    EXPECT_TRUE(IsIconic(app.main));
}

class ExtraWindow : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(app.main && openExtra()); }
    // Modeless: the main window stays usable beside it.
    bool openExtra() {
        click(app.control(ids::Label9));
        extra = app.window("Extra");
        List1 = child(extra, ids::List1);
        List2 = child(extra, ids::List2);
        return extra && List1 && List2 && IsWindowEnabled(app.main);
    }
    static bool holds(HWND list, const Texts& entries) {
        return waitUntil([&] { return items(list) == entries; });
    }
    // Answers a prompt or message box of the Extra window, after checking it is one of its own.
    void answer(const char* shown, const char* title, const char* typed = nullptr,
                int button = IDOK) const {
        const HWND dialog = app.dialog(shown);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), extra);
        EXPECT_EQ(text(dialog), title);
        EXPECT_TRUE(app.answer(dialog, typed, button));
    }
    void requeue(int index) const {
        clickItem(List2, index);
        ASSERT_TRUE(waitUntil([&] { return SendMessageW(List2, LB_GETCURSEL, 0, 0) == index; }));
        click(child(extra, ids::addtowait));
    }

    Zorvane app;
    HWND extra = nullptr, List1 = nullptr, List2 = nullptr;
};

TEST_F(ExtraWindow, AddAsksForTheNameThenTheMessageAndKeepsOneMessagePerScreenName) {
    click(child(extra, ids::add));
    answer("Enter Screen Name:", "", "John Doe");
    answer("Enter Message:", "", "back at 5");
    ASSERT_TRUE(app.add(extra, "Jo Ann", "call me - later"));
    ASSERT_TRUE(app.add(extra, "typed, then", "cancelled", IDCANCEL));  // gives empty texts
    const Texts waiting{"johndoe-back at 5", "joann-call me - later", "-"};
    EXPECT_TRUE(holds(List1, waiting));

    ASSERT_TRUE(app.add(extra, "JOHN DOE", "again"));
    answer("one message per screen name", "Zorvane");
    EXPECT_EQ(items(List1), waiting);
}

TEST_F(ExtraWindow, SetHidesTheWindowWithItsEntriesAndTheCloseBoxDiscardsThem) {
    ASSERT_TRUE(app.add(extra, "bob", "hi"));
    appendItem(List2, "amy-yo");
    click(child(extra, ids::hide));
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(extra); }));
    const HWND first = extra;
    ASSERT_TRUE(openExtra());
    EXPECT_EQ(extra, first);
    EXPECT_EQ(items(List1), Texts{"bob-hi"});
    EXPECT_EQ(items(List2), Texts{"amy-yo"});

    PostMessageW(extra, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(first); }));
    ASSERT_TRUE(openExtra());
    EXPECT_EQ(items(List1), Texts{});
    EXPECT_EQ(items(List2), Texts{});
}

TEST_F(ExtraWindow, DoubleClickRemovesAnEntryAndRequeueMovesOneBackUnlessItsNameWaits) {
    for (const char* name : {"amy", "b", "c"})
        ASSERT_TRUE(app.add(extra, name, "wait"));
    for (const char* entry : {"x-1", "bob-hi", "amy-yo"})
        appendItem(List2, entry);
    clickItem(List1, 1, true);
    EXPECT_TRUE(holds(List1, {"amy-wait", "c-wait"}));
    clickItem(List2, 0, true);
    EXPECT_TRUE(holds(List2, {"bob-hi", "amy-yo"}));
    EXPECT_EQ(items(List1), (Texts{"amy-wait", "c-wait"}));

    requeue(0);
    EXPECT_TRUE(holds(List1, {"amy-wait", "c-wait", "bob-hi"}));
    EXPECT_TRUE(holds(List2, {"amy-yo"}));
    requeue(0);
    answer("one message per screen name", "Zorvane");
    EXPECT_EQ(items(List1), (Texts{"amy-wait", "c-wait", "bob-hi"}));
    EXPECT_EQ(items(List2), Texts{"amy-yo"});
}

TEST_F(ExtraWindow, ClosingTheMainWindowEndsTheProgramEvenWhileAPromptIsOpen) {
    click(child(extra, ids::add));
    ASSERT_TRUE(app.dialog("Enter Screen Name:"));
    PostMessageW(app.main, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(WaitForSingleObject(app.process->info.hProcess, 20000), WAIT_OBJECT_0);
}

// While it lives, the prefix's browser sends every request to a port on loopback that answers
// nothing, so no test reaches the web. When it goes, so do the setting and the browser's windows.
struct OfflineBrowser {
    static constexpr wchar_t settings[] =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    OfflineBrowser() {
        const DWORD on = 1;
        const wchar_t proxy[] = L"127.0.0.1:9";
        RegSetKeyValueW(HKEY_CURRENT_USER, settings, L"ProxyEnable", REG_DWORD, &on, sizeof on);
        RegSetKeyValueW(HKEY_CURRENT_USER, settings, L"ProxyServer", REG_SZ, proxy, sizeof proxy);
    }
    ~OfflineBrowser() {
        for (const HWND window : windows())
            PostMessageW(window, WM_CLOSE, 0, 0);
        waitUntil([] { return windows().empty(); });
        RegDeleteKeyValueW(HKEY_CURRENT_USER, settings, L"ProxyEnable");
        RegDeleteKeyValueW(HKEY_CURRENT_USER, settings, L"ProxyServer");
    }
    // "Wine Internet Explorer" windows, hidden ones too.
    static std::vector<HWND> windows() {
        std::vector<HWND> found;
        for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"IEFrame", nullptr));)
            found.push_back(window);
        return found;
    }
};

TEST(AboutWindow, ShowsOnceItsLinkOpensABrowserPerClickAndTheProgramWorksOn) {
    const OfflineBrowser browser;
    const Zorvane app;
    ASSERT_TRUE(app.main);
    const HWND About = app.control(ids::Label2);
    const auto aboutWindows = [] {
        int count = 0;
        for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, nullptr, L".:About:."));)
            ++count;
        return count;
    };
    click(About);
    const HWND about = app.window(".:About:.");
    ASSERT_TRUE(about);
    EXPECT_EQ(GetWindow(about, GW_OWNER), nullptr);
    EXPECT_TRUE(IsWindowEnabled(app.main));
    Texts shown;
    for (const int id : {ids::Form3Label2, ids::Form3Label1, ids::Label7})
        shown.push_back(text(child(about, id)));
    EXPECT_EQ(shown, (Texts{"Zorvane", "Halvorn Web Site", "Copyright \u00a9 2026 Halvorn"}));

    // The link's clicks are handled after the second click on About, and each waits for COM.
    click(About);
    for (const int opened : {1, 2}) {
        click(child(about, ids::Form3Label1));
        EXPECT_TRUE(waitUntil([&] {
            return std::ranges::count_if(OfflineBrowser::windows(), IsWindowVisible) == opened;
        }));
    }
    EXPECT_EQ(aboutWindows(), 1);
    EXPECT_TRUE(IsWindowVisible(about));

    // Closed with its close box, it is built afresh by the next click.
    PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(about); }));
    click(About);
    EXPECT_NE(app.window(".:About:."), nullptr);
    EXPECT_EQ(aboutWindows(), 1);
}

}  // namespace
}  // namespace zorvane::driver
