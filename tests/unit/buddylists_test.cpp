#include "buddies/buddylists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/model/model_controls.h"

namespace zorvane {
namespace {

using Items = std::vector<std::string>;

ModelListBox listOf(const Items& entries, int selected = -1) {
    ModelListBox list;
    for (const std::string& entry : entries)
        list.add(entry);
    list.setSelected(selected);
    return list;
}

Items itemsOf(const ListBox& list) {
    Items items;
    for (int i = 0; i < list.count(); ++i)
        items.push_back(list.item(i));
    return items;
}

// Records each message box; `whileOpen` runs as if a timer fired while the box is up.
struct MessageBoxes {
    Items texts;
    std::function<void()> whileOpen = [] {};
    ShowMessageBox show() {
        return [this](std::string_view text, std::string_view title) {
            EXPECT_EQ(title, "Zorvane");
            texts.emplace_back(text);
            whileOpen();
        };
    }
};

TEST(BuddyEntry, FormsKeyDashMessage) {
    const std::string longName(300, 'A');
    struct Case {
        std::string name, message, entry;
    } cases[] = {
        {"John Doe", "back at 5", "johndoe-back at 5"},
        {"", "", "-"},  // both prompts cancelled
        {" JO  ANN ", "", "joann-"},
        {"Jo\tAnn", "x", "jo\tann-x"},  // only U+0020 goes
        {"bob", "call me - later", "bob-call me - later"},
        {"Mary-Lou", "hi", "mary-lou-hi"},
        {"ÉMILE Zola", "Ça va", "Émilezola-Ça va"},  // lower-casing is A-Z only
        {longName, "m", std::string(300, 'a') + "-m"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formEntry(c.name, c.message), c.entry) << c.name;
    }
}

TEST(BuddyEntry, ReadsKeyAndEverythingAfterTheFirstDash) {
    struct Case {
        std::string entry, key, message;
    } cases[] = {
        {"bob-call me - later", "bob", "call me - later"},
        {"mary-lou-hi", "mary", "lou-hi"},  // a name typed with "-" is cut there
        {"bob-", "bob", ""},
        {"-", "", ""},
        {"-msg", "", "msg"},
        {"bob", "bob", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const EntryParts parts = readEntry(c.entry);
        EXPECT_EQ(parts.key, c.key) << c.entry;
        EXPECT_EQ(parts.message, c.message) << c.entry;
    }
}

TEST(Checklist, FindsTheKeyWhateverTheCaseButNeverWithASpace) {
    const ModelListBox list1 = listOf({"anna-a", "johndoe-back at 5", "carl-c", "Émile-x"});
    struct Case {
        std::string sn;
        std::optional<int> position;
    } cases[] = {
        {"JohnDoe", 1},
        {"JOHNDOE", 1},
        {"Carl", 2},
        {"ÉMILE", 3},
        {"John Doe", std::nullopt},
        {"john", std::nullopt},
        {"anna-a", std::nullopt},
        {"", std::nullopt},
        {"émile", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(checklist(list1, c.sn), c.position) << c.sn;
    }
    EXPECT_EQ(checklist(ModelListBox{}, "bob"), std::nullopt);
    EXPECT_EQ(checklist(listOf({"bob-x", "-"}), ""), 1);
}

TEST(Checklist, FindsAnEntryAtPosition666) {
    ModelListBox list1;
    for (int i = 0; i < 1000; ++i)
        list1.add("buddy" + std::to_string(i) + "-m");
    EXPECT_EQ(checklist(list1, "Buddy666"), 666);
    EXPECT_EQ(checklist(list1, "Buddy999"), 999);
    EXPECT_EQ(checklist(list1, "nobody"), std::nullopt);
}

TEST(Addlist, RefusesAKeyThatAlreadyWaitsWhereverItStands) {
    struct Case {
        Items list1;
        std::string mess;
        bool accepted;
    } cases[] = {
        {{}, "johndoe-back at 5", true},
        {{"johndoe-back at 5"}, "johndoe-later", false},
        {{"anna-a", "johndoe-back at 5", "carl-c"}, "johndoe-later", false},
        {{"anna-a", "carl-c", "johndoe-back at 5"}, "johndoe-later", false},
        {{"bob-x"}, "bobby-y", true},
        {{"bob-x"}, "bo-y", true},
        {{"bob-x"}, "Bob-y", true},  // exact comparison; formed keys are already lower case
        {{"bob"}, "bob-y", false},   // an entry without "-" is all key
        {{"bob-x"}, "-", true},
        {{"bob-x", "-"}, "-", false},
    };
    for (const auto& c : cases) {
        ModelListBox list1 = listOf(c.list1);
        Items expected = itemsOf(list1);
        if (c.accepted) expected.push_back(c.mess);
        MessageBoxes boxes;

        EXPECT_EQ(addlist(list1, c.mess, boxes.show()), c.accepted) << c.mess;
        EXPECT_EQ(itemsOf(list1), expected) << c.mess;
        EXPECT_EQ(boxes.texts, c.accepted ? Items{} : Items{"one message per screen name"});
    }
}

TEST(Addlist, KeyHandedOutToList2IsAcceptedAgain) {
    ModelListBox list1 = listOf({"bob-b"});
    ModelListBox list2;
    handout(list1, list2, 0);
    MessageBoxes boxes;
    EXPECT_TRUE(addlist(list1, "bob-again", boxes.show()));
    EXPECT_EQ(itemsOf(list1), Items{"bob-again"});
    EXPECT_EQ(itemsOf(list2), Items{"bob-b"});
}

TEST(Addlist, LeavesTheListAloneAfterItsMessageBox) {
    ModelListBox list1 = listOf({"bob-x", "carl-c"});
    ModelListBox list2;
    MessageBoxes boxes;
    boxes.whileOpen = [&] { handout(list1, list2, 0); };  // bob is handed out meanwhile
    EXPECT_FALSE(addlist(list1, "bob-y", boxes.show()));
    EXPECT_EQ(itemsOf(list1), Items{"carl-c"});
    EXPECT_EQ(itemsOf(list2), Items{"bob-x"});
}

TEST(Addlist, RefusesEntriesBeyondTheCap) {
    ModelListBox list1;
    for (int i = 0; i < maxWaitingEntries - 1; ++i)
        list1.add(std::to_string(i) + "-m");
    MessageBoxes boxes;
    EXPECT_TRUE(addlist(list1, "last-m", boxes.show()));
    EXPECT_FALSE(addlist(list1, "over-m", boxes.show()));
    EXPECT_EQ(list1.count(), 32767);
    EXPECT_EQ(list1.item(32766), "last-m");
    EXPECT_EQ(boxes.texts, Items{"The waiting list is full (32767 entries)."});
}

// Logs each add and remove into a shared journal, to check the order of a hand-out.
class JournalListBox : public ModelListBox {
  public:
    JournalListBox(std::string name, Items& journal) : name_(std::move(name)), journal_(journal) {}
    void add(std::string_view entry) override {
        journal_.push_back(name_ + " add " + std::string(entry));
        ModelListBox::add(entry);
    }
    void remove(int index) override {
        journal_.push_back(name_ + " remove " + std::to_string(index));
        ModelListBox::remove(index);
    }

  private:
    std::string name_;
    Items& journal_;
};

TEST(Handout, AppendsToList2BeforeRemovingFromList1) {
    Items journal;
    JournalListBox list1("List1", journal), list2("List2", journal);
    for (auto entry : {"anna-a", "bob-b", "carl-c"})
        list1.add(entry);
    list2.add("zed-z");
    journal.clear();

    const std::optional<int> position = checklist(list1, "Carl");
    ASSERT_EQ(position, 2);
    EXPECT_EQ(handout(list1, list2, *position), "carl-c");
    EXPECT_EQ(journal, (Items{"List2 add carl-c", "List1 remove 2"}));
    EXPECT_EQ(itemsOf(list1), (Items{"anna-a", "bob-b"}));
    EXPECT_EQ(itemsOf(list2), (Items{"zed-z", "carl-c"}));

    for (int bad : {-1, 2, 666}) {
        EXPECT_EQ(handout(list1, list2, bad), std::nullopt) << bad;
    }
    EXPECT_EQ(list1.count() + list2.count(), 4);
}

TEST(Requeue, MovesTheSelectedEntryToTheEndOfList1) {
    ModelListBox list1 = listOf({"anna-x"});
    ModelListBox list2 = listOf({"anna-a", "bob-b", "carl-c"}, 1);
    MessageBoxes boxes;
    requeue(list1, list2, boxes.show());
    EXPECT_EQ(itemsOf(list1), (Items{"anna-x", "bob-b"}));
    EXPECT_EQ(itemsOf(list2), (Items{"anna-a", "carl-c"}));
    EXPECT_TRUE(boxes.texts.empty());
}

TEST(Requeue, KeepsTheEntryInList2WhenItsKeyAlreadyWaits) {
    ModelListBox list1 = listOf({"bob-x", "carl-c"});
    ModelListBox list2 = listOf({"bob-b"}, 0);
    MessageBoxes boxes;
    boxes.whileOpen = [&] { handout(list1, list2, 1); };  // carl is handed out meanwhile
    requeue(list1, list2, boxes.show());
    EXPECT_EQ(boxes.texts, Items{"one message per screen name"});
    EXPECT_EQ(itemsOf(list1), Items{"bob-x"});
    EXPECT_EQ(itemsOf(list2), (Items{"bob-b", "carl-c"}));
    EXPECT_EQ(list2.selected(), 0);
}

TEST(Requeue, KeepsTheEntryInList2WhenList1IsFull) {
    ModelListBox list1;
    for (int i = 0; i < maxWaitingEntries; ++i)
        list1.add(std::to_string(i) + "-m");
    ModelListBox list2 = listOf({"bob-b"}, 0);
    MessageBoxes boxes;
    requeue(list1, list2, boxes.show());
    EXPECT_EQ(boxes.texts, Items{"The waiting list is full (32767 entries)."});
    EXPECT_EQ(list1.count(), maxWaitingEntries);
    EXPECT_EQ(itemsOf(list2), Items{"bob-b"});
}

TEST(Requeue, DoesNothingWithoutASelection) {
    ModelListBox list1;
    ModelListBox list2 = listOf({"bob-b"});
    MessageBoxes boxes;
    requeue(list1, list2, boxes.show());
    EXPECT_EQ(list1.count(), 0);
    EXPECT_EQ(itemsOf(list2), Items{"bob-b"});
}

TEST(RemoveSelected, RemovesOnlyTheSelectedEntry) {
    struct Case {
        int selected;
        Items left;
    } cases[] = {
        {-1, {"a-1", "b-2", "c-3"}}, {0, {"b-2", "c-3"}},        {1, {"a-1", "c-3"}},
        {2, {"a-1", "b-2"}},         {3, {"a-1", "b-2", "c-3"}},
    };
    for (const auto& c : cases) {
        ModelListBox list = listOf({"a-1", "b-2", "c-3"}, c.selected);
        removeSelected(list);
        EXPECT_EQ(itemsOf(list), c.left) << c.selected;
    }
}

}  // namespace
}  // namespace zorvane
