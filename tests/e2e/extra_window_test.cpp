// The Extra window of the real program, opened from the main window and used as a user would.
// Entries reach "Send Complete:" only through the auto-responder's hand-out, which appends to
// the list box; the tests append there themselves to stand in for it.

#include <gtest/gtest.h>

#include <memory>

#include "windows/control_ids.h"
#include "zorvane_driver.h"

namespace zorvane::e2e {
namespace {

using Entries = std::vector<std::string>;

class ExtraWindow : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(app.ready());
        ASSERT_TRUE(openExtra());
    }

    bool openExtra() {
        click(app.control(ids::Label9));
        extra = app.waitForExtra();
        List1 = child(extra, ids::List1);
        List2 = child(extra, ids::List2);
        return extra && List1 && List2;
    }

    static bool holds(HWND list, const Entries& entries) {
        return waitUntil([&] { return items(list) == entries; });
    }

    // Answers the message box the Extra window shows, and checks it is the one it should be.
    void expectOneMessagePerScreenName() const {
        const HWND box = app.waitForDialog("one message per screen name");
        ASSERT_TRUE(box);
        EXPECT_EQ(owner(box), extra);
        EXPECT_EQ(text(box), "Zorvane");
        EXPECT_TRUE(app.answer(box));
    }

    Zorvane app = Zorvane::start();
    HWND extra = nullptr;
    HWND List1 = nullptr;
    HWND List2 = nullptr;
};

TEST_F(ExtraWindow, AddAsksForTheNameThenTheMessageAndKeepsOneMessagePerScreenName) {
    click(child(extra, ids::add));
    for (const auto& [shown, typed] :
         {std::pair{"Enter Screen Name:", "John Doe"}, std::pair{"Enter Message:", "back at 5"}}) {
        SCOPED_TRACE(shown);
        const HWND prompt = app.waitForDialog(shown);
        ASSERT_TRUE(prompt);
        EXPECT_EQ(owner(prompt), extra);
        EXPECT_EQ(text(prompt), "");
        ASSERT_TRUE(app.answer(prompt, typed));
    }
    EXPECT_TRUE(holds(List1, {"johndoe-back at 5"}));

    ASSERT_TRUE(app.add(extra, "Jo Ann", "call me - later"));
    const Entries waiting{"johndoe-back at 5", "joann-call me - later"};
    EXPECT_TRUE(holds(List1, waiting));

    click(child(extra, ids::add));
    ASSERT_TRUE(app.answer(app.waitForDialog("Enter Screen Name:"), "JOHN DOE"));
    ASSERT_TRUE(app.answer(app.waitForDialog("Enter Message:"), "again"));
    expectOneMessagePerScreenName();
    EXPECT_EQ(items(List1), waiting);
}

TEST_F(ExtraWindow, SetHidesTheWindowAndExtraShowsItAgainWithTheSameEntries) {
    ASSERT_TRUE(app.add(extra, "bob", "hi"));
    appendItem(List2, "amy-yo");
    click(child(extra, ids::hide));
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(extra); }));

    const HWND hidden = extra;
    ASSERT_TRUE(openExtra());
    EXPECT_EQ(extra, hidden);
    EXPECT_EQ(items(List1), Entries{"bob-hi"});
    EXPECT_EQ(items(List2), Entries{"amy-yo"});
}

TEST_F(ExtraWindow, TheCloseBoxDiscardsBothLists) {
    ASSERT_TRUE(app.add(extra, "bob", "hi"));
    appendItem(List2, "amy-yo");
    const HWND closed = extra;
    PostMessageW(extra, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(closed); }));

    ASSERT_TRUE(openExtra());
    EXPECT_EQ(items(List1), Entries{});
    EXPECT_EQ(items(List2), Entries{});
}

TEST_F(ExtraWindow, ADoubleClickRemovesThatEntryAndNoOther) {
    for (const char* name : {"a", "b", "c"})
        ASSERT_TRUE(app.add(extra, name, "msg"));
    for (const char* entry : {"x-1", "y-2"})
        appendItem(List2, entry);

    doubleClickItem(List1, 1);
    EXPECT_TRUE(holds(List1, {"a-msg", "c-msg"}));
    doubleClickItem(List2, 0);
    EXPECT_TRUE(holds(List2, {"y-2"}));
    EXPECT_EQ(items(List1), (Entries{"a-msg", "c-msg"}));
}

TEST_F(ExtraWindow, RequeueMovesTheSelectedCompletedEntryBackUnlessItsNameWaits) {
    ASSERT_TRUE(app.add(extra, "amy", "wait"));
    for (const char* entry : {"bob-hi", "amy-yo"})
        appendItem(List2, entry);

    clickItem(List2, 0);
    ASSERT_TRUE(waitUntil([&] { return selectedItem(List2) == 0; }));
    click(child(extra, ids::addtowait));
    EXPECT_TRUE(holds(List1, {"amy-wait", "bob-hi"}));
    EXPECT_TRUE(holds(List2, {"amy-yo"}));

    clickItem(List2, 0);
    ASSERT_TRUE(waitUntil([&] { return selectedItem(List2) == 0; }));
    click(child(extra, ids::addtowait));
    expectOneMessagePerScreenName();
    EXPECT_EQ(items(List1), (Entries{"amy-wait", "bob-hi"}));
    EXPECT_EQ(items(List2), Entries{"amy-yo"});
}

TEST_F(ExtraWindow, ClosingTheMainWindowEndsTheProgramEvenWhileAPromptIsOpen) {
    const std::unique_ptr<void, decltype(&CloseHandle)> process(
        OpenProcess(SYNCHRONIZE, FALSE, app.processId()), &CloseHandle);
    ASSERT_TRUE(process);
    click(child(extra, ids::add));
    ASSERT_TRUE(app.waitForDialog("Enter Screen Name:"));

    PostMessageW(app.mainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(WaitForSingleObject(process.get(), 20000), WAIT_OBJECT_0);
}

}  // namespace
}  // namespace zorvane::e2e
