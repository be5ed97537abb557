#include "windows/form2.h"

#include <gtest/gtest.h>

#include "platform/model/model_desktop.h"
#include "platform/model/model_ui.h"
#include "windows/control_ids.h"
#include "windows/form1.h"

namespace zorvane {
namespace {

std::vector<std::string> items(const ListBox& list) {
    std::vector<std::string> all;
    for (int i = 0; i < list.count(); ++i)
        all.push_back(list.item(i));
    return all;
}

using Items = std::vector<std::string>;

// The Extra window as the user reaches it: through the main window's "Extra" label.
struct ExtraWindow : testing::Test {
    ModelDesktop desktop;
    ModelUi ui;
    Form1 form1{ui, desktop};

    ModelForm& open() {
        ui.form("Zorvane v1.0").click(ids::Label9);
        return ui.form("Extra");
    }
    void add(std::string name, std::string message) {
        ui.promptAnswers = {std::move(name), std::move(message)};
        open().click(ids::add);
    }
    ListBox& list1() { return ui.form("Extra").listBox(ids::List1); }
    ListBox& list2() { return ui.form("Extra").listBox(ids::List2); }
};

TEST_F(ExtraWindow, AddAsksForNameThenMessageAndQueuesTheEntry) {
    add("John Doe", "back at 5");
    EXPECT_EQ(items(list1()), Items{"johndoe-back at 5"});
    ASSERT_EQ(ui.prompts().size(), 2u);
    EXPECT_EQ(ui.prompts()[0].text, "Enter Screen Name:");
    EXPECT_EQ(ui.prompts()[1].text, "Enter Message:");
    for (const auto& prompt : ui.prompts()) {
        EXPECT_EQ(prompt.title, "");
        EXPECT_EQ(prompt.owner, &ui.form("Extra"));
    }

    add("", "");  // both prompts cancelled
    EXPECT_EQ(items(list1()), (Items{"johndoe-back at 5", "-"}));
}

TEST_F(ExtraWindow, SecondMessageForAWaitingNameIsRefusedWithABoxOwnedByTheWindow) {
    add("John Doe", "back at 5");
    add("JOHNDOE", "later");
    EXPECT_EQ(items(list1()), Items{"johndoe-back at 5"});
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].text, "one message per screen name");
    EXPECT_EQ(ui.messageBoxes()[0].title, "Zorvane");
    EXPECT_EQ(ui.messageBoxes()[0].owner, &ui.form("Extra"));
}

TEST_F(ExtraWindow, TheListIsReadOnlyAfterThePrompts) {
    add("anna", "a");
    // A hand-out while the user types moves Anna's entry away: Anna may then queue again.
    ui.whilePromptOpen = [&] {
        list2().add(list1().item(0));
        list1().remove(0);
    };
    add("Anna", "again");
    EXPECT_EQ(items(list1()), Items{"anna-again"});
    EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST_F(ExtraWindow, RequeueAndDoubleClickRemoval) {
    add("bob", "x");
    add("carl", "c");
    list2().add("bob-b");
    list2().add("dan-d");
    ModelForm& extra = ui.form("Extra");

    extra.click(ids::addtowait);  // nothing selected: nothing happens
    EXPECT_EQ(items(list2()), (Items{"bob-b", "dan-d"}));

    list2().setSelected(0);  // bob still waits: refused, and the entry stays
    extra.click(ids::addtowait);
    EXPECT_EQ(items(list1()), (Items{"bob-x", "carl-c"}));
    EXPECT_EQ(items(list2()), (Items{"bob-b", "dan-d"}));
    EXPECT_EQ(ui.messageBoxes().size(), 1u);

    list2().setSelected(1);
    extra.click(ids::addtowait);
    EXPECT_EQ(items(list1()), (Items{"bob-x", "carl-c", "dan-d"}));
    EXPECT_EQ(items(list2()), Items{"bob-b"});

    extra.doubleClick(ids::List1);  // nothing selected
    list1().setSelected(1);
    extra.doubleClick(ids::List1);
    EXPECT_EQ(items(list1()), (Items{"bob-x", "dan-d"}));
    list2().setSelected(0);
    extra.doubleClick(ids::List2);
    EXPECT_TRUE(items(list2()).empty());
}

TEST_F(ExtraWindow, SetHidesAndExtraShowsTheSameWindowAndEntries) {
    add("anna", "a");
    ModelForm& extra = ui.form("Extra");
    EXPECT_TRUE(extra.visible());
    extra.click(ids::hide);
    EXPECT_FALSE(extra.visible());

    EXPECT_EQ(&open(), &extra);
    EXPECT_TRUE(extra.visible());
    EXPECT_EQ(items(list1()), Items{"anna-a"});
    EXPECT_EQ(ui.forms().size(), 2u);
}

TEST_F(ExtraWindow, CloseBoxDiscardsBothListsAndExtraOpensAFreshWindow) {
    add("anna", "a");
    list2().add("bob-b");
    ui.form("Extra").close();
    EXPECT_EQ(ui.forms().size(), 1u);  // only the main window is left

    ModelForm& again = open();
    EXPECT_TRUE(again.visible());
    EXPECT_EQ(list1().count(), 0);
    EXPECT_EQ(list2().count(), 0);
}

}  // namespace
}  // namespace zorvane
