// The per-buddy lists and the Extra window that edits them.
#include <gtest/gtest.h>

#include "buddies/buddylists.h"
#include "platform/model/model_desktop.h"
#include "platform/model/model_ui.h"
#include "windows/control_ids.h"
#include "windows/form1.h"

namespace zorvane {
namespace {

using Items = std::vector<std::string>;

// Runs `onAdd` as each entry is appended, so a test sees the lists at that moment.
struct WatchedList : ModelListBox {
    std::function<void()> onAdd = [] {};
    void add(std::string_view entry) override {
        onAdd();
        ModelListBox::add(entry);
    }
};

Items itemsOf(const ListBox& list) {
    Items items;
    for (int i = 0; i < list.count(); ++i)
        items.push_back(list.item(i));
    return items;
}

TEST(BuddyEntry, FormsKeyDashMessageAndReadsBackAllAfterTheFirstDash) {
    struct Case {
        std::string name, message, entry, key, readMessage;
    };
    const Case cases[] = {
        {"John Doe", "back at 5", "johndoe-back at 5", "johndoe", "back at 5"},
        {"", "", "-", "", ""},                           // both prompts cancelled
        {" JO \tANN  ", "", "jo\tann-", "jo\tann", ""},  // only U+0020 goes
        {"bob", "call me - later", "bob-call me - later", "bob", "call me - later"},
        {"Mary-Lou", "hi", "mary-lou-hi", "mary", "lou-hi"},  // a name with "-" is cut there
        {"ÉMILE Zola", "Ça va", "Émilezola-Ça va", "Émilezola", "Ça va"},  // A-Z only
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formEntry(c.name, c.message), c.entry) << c.name;
        const EntryParts parts = readEntry(c.entry);
        EXPECT_EQ(parts.key + "|" + parts.message, c.key + "|" + c.readMessage) << c.entry;
    }
}

TEST(Checklist, FindsTheLowerCasedKeyNeverWithASpaceAndHandsOutAppendingBeforeRemoving) {
    WatchedList list1;
    for (int i = 0; i < 1000; ++i)
        list1.add("buddy" + std::to_string(i) + "-m");
    EXPECT_EQ(checklist(list1, "Buddy666"), 666);
    EXPECT_EQ(checklist(list1, "BUDDY0"), 0);
    EXPECT_EQ(checklist(list1, "Buddy 1"), std::nullopt);
    EXPECT_EQ(checklist(list1, "buddy"), std::nullopt);
    WatchedList list2;
    list2.add("zed-z");
    list2.onAdd = [&] { EXPECT_EQ(list1.count(), 1000); };
    EXPECT_EQ(handout(list1, list2, 666), "buddy666-m");
    EXPECT_EQ(handout(list1, list2, -1), std::nullopt);
    EXPECT_EQ(handout(list1, list2, 999), std::nullopt);
    EXPECT_EQ(checklist(list1, "buddy667"), 666);
    EXPECT_EQ(itemsOf(list2), (Items{"zed-z", "buddy666-m"}));
}

TEST(Addlist, AFullWaitingListTakesNoMoreNotEvenARequeue) {
    Items boxes;
    const ShowMessageBox show = [&](std::string_view text, std::string_view title) {
        boxes.push_back(std::string(title) + ": " + std::string(text));
    };
    WatchedList list1;
    for (int i = 1; i < maxWaitingEntries; ++i)
        list1.add(std::to_string(i) + "-m");
    EXPECT_TRUE(addlist(list1, "last-m", show));
    WatchedList list2;
    list2.add("over-m");
    list2.setSelected(0);
    requeue(list1, list2, show);
    EXPECT_EQ(list1.count(), 32767);
    EXPECT_EQ(list1.item(32766), "last-m");
    EXPECT_EQ(itemsOf(list2), Items{"over-m"});
    EXPECT_EQ(boxes, Items{"Zorvane: The waiting list is full (32767 entries)."});
}

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
    ModelForm& extra() { return ui.form("Extra"); }
    ListBox& list(int id) { return extra().listBox(id); }
    // What each prompt or message box showed, marked when the Extra window does not own it.
    Items shown(const std::vector<ModelUi::Dialog>& dialogs) {
        Items texts;
        for (const auto& d : dialogs)
            texts.push_back((d.owner == &extra() ? "" : "unowned ") + d.title + ": " + d.text);
        return texts;
    }
};

TEST_F(ExtraWindow, AddQueuesOneWaitingMessagePerKeyReadingTheListAfterThePrompts) {
    add("", "");  // both prompts cancelled
    EXPECT_EQ(shown(ui.prompts()), (Items{": Enter Screen Name:", ": Enter Message:"}));
    add("John Doe", "back at 5");
    add("JOHNDOE", "later");
    add("John", "x");
    add("JohnDoeX", "y");
    add(" ", "again");
    EXPECT_EQ(itemsOf(list(ids::List1)), (Items{"-", "johndoe-back at 5", "john-x", "johndoex-y"}));
    EXPECT_EQ(shown(ui.messageBoxes()), Items(2, "Zorvane: one message per screen name"));

    // A hand-out while the user types the message moves John's entry away: he may queue again.
    ui.whilePromptOpen = [&] {
        ui.whilePromptOpen = [&] { handout(list(ids::List1), list(ids::List2), 1); };
    };
    add("John Doe", "again");
    EXPECT_EQ(itemsOf(list(ids::List1)), (Items{"-", "john-x", "johndoex-y", "johndoe-again"}));
    EXPECT_EQ(itemsOf(list(ids::List2)), Items{"johndoe-back at 5"});
}

TEST_F(ExtraWindow, RequeueAndDoubleClickRemoval) {
    add("bob", "x");
    add("carl", "c");
    list(ids::List2).add("bob-b");
    list(ids::List2).add("dan-d");

    extra().click(ids::addtowait);  // nothing selected: nothing happens
    list(ids::List2).setSelected(0);
    // Bob still waits: refused, and his entry stays even as a hand-out runs under the box.
    ui.whileMessageBoxOpen = [&] { handout(list(ids::List1), list(ids::List2), 1); };
    extra().click(ids::addtowait);
    EXPECT_EQ(itemsOf(list(ids::List1)), Items{"bob-x"});
    EXPECT_EQ(itemsOf(list(ids::List2)), (Items{"bob-b", "dan-d", "carl-c"}));
    EXPECT_EQ(ui.messageBoxes().size(), 1u);

    list(ids::List2).setSelected(1);
    extra().click(ids::addtowait);
    EXPECT_EQ(itemsOf(list(ids::List1)), (Items{"bob-x", "dan-d"}));
    EXPECT_EQ(itemsOf(list(ids::List2)), (Items{"bob-b", "carl-c"}));

    extra().doubleClick(ids::List1);  // nothing selected: nothing happens
    list(ids::List1).setSelected(1);
    extra().doubleClick(ids::List1);
    list(ids::List2).setSelected(0);
    extra().doubleClick(ids::List2);
    EXPECT_EQ(itemsOf(list(ids::List1)), Items{"bob-x"});
    EXPECT_EQ(itemsOf(list(ids::List2)), Items{"carl-c"});
}

TEST_F(ExtraWindow, SetHidesTheSameWindowAndTheCloseBoxDiscardsBothLists) {
    add("anna", "a");
    list(ids::List2).add("bob-b");
    ModelForm& window = extra();
    window.click(ids::hide);
    EXPECT_FALSE(window.visible());
    EXPECT_EQ(&open(), &window);
    EXPECT_TRUE(window.visible());
    EXPECT_EQ(itemsOf(list(ids::List1)), Items{"anna-a"});

    // A close sent while one of its own prompts or boxes is open leaves the window be.
    ui.whilePromptOpen = [&] { window.close(); };
    add("bob", "b");
    ui.whileMessageBoxOpen = [&] { window.close(); };
    add("bob", "again");
    EXPECT_EQ(itemsOf(list(ids::List1)), (Items{"anna-a", "bob-b"}));

    window.close();
    EXPECT_EQ(ui.forms().size(), 1u);  // only the main window is left
    EXPECT_TRUE(open().visible());
    EXPECT_EQ(list(ids::List1).count() + list(ids::List2).count(), 0);
}

}  // namespace
}  // namespace zorvane
