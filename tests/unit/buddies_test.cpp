// The per-buddy lists and the Extra window that edits them.
#include <gtest/gtest.h>

#include "buddies/buddylists.h"
#include "session.h"

namespace zorvane {
namespace {

TEST(BuddyLists, EntriesKeysLookUpHandOutAndAFullWaitingList) {
    const std::vector<std::array<std::string, 4>> entries = {
        // name, message, entry, key|message read back
        {"John Doe", "call me - later", "johndoe-call me - later", "johndoe|call me - later"},
        {" JO \tANN  ", "", "jo\tann-", "jo\tann|"},                    // only U+0020 goes
        {"Mary-Lou", "hi", "mary-lou-hi", "mary|lou-hi"},               // cut at the first "-"
        {"ÉMILE Zola", "Ça va", "Émilezola-Ça va", "Émilezola|Ça va"},  // A-Z only
    };
    for (const auto& [name, message, entry, read] : entries) {
        EXPECT_EQ(formEntry(name, message), entry);
        EXPECT_EQ(readEntry(entry).key + "|" + readEntry(entry).message, read);
    }
    ModelListBox list1, list2;
    for (int i = 1; i < maxWaitingEntries; ++i)
        list1.add("buddy" + std::to_string(i) + "-m");
    WaitingIndex waiting(list1);
    EXPECT_EQ(waiting.checklist("Buddy667"), 666);  // an ordinary position
    EXPECT_EQ(waiting.checklist("Buddy 1"), std::nullopt);
    EXPECT_EQ(waiting.checklist("buddy"), std::nullopt);
    EXPECT_EQ(handout(list1, list2, 665), "buddy666-m");
    EXPECT_EQ(handout(list1, list2, -1), std::nullopt);
    EXPECT_EQ(handout(list1, list2, list1.count()), std::nullopt);
    EXPECT_EQ(itemsOf(list2), Texts{"buddy666-m"});

    Texts boxes;
    const ShowMessageBox show = [&](std::string_view text, std::string_view title) {
        boxes.push_back(std::string(title) + ": " + std::string(text));
    };
    EXPECT_TRUE(addlist(list1, "last-m", show));
    EXPECT_TRUE(addlist(list1, "full-m", show));
    list2.setSelected(0);
    requeue(list1, list2, show);  // full: refused, and the entry stays where it was
    EXPECT_EQ(list1.count(), maxWaitingEntries);
    EXPECT_EQ(itemsOf(list2), Texts{"buddy666-m"});
    EXPECT_EQ(boxes, Texts{"Zorvane: The waiting list is full (32767 entries)."});
}

TEST(ExtraWindow, AddRequeueRemoveSetAndCloseReadingTheListsAfterEachBox) {
    Session s;
    ModelForm& extra = s.open(ids::Label9, "Extra");
    ListBox& list1 = extra.listBox(ids::List1);
    ListBox& list2 = extra.listBox(ids::List2);
    const auto add = [&](std::string name, std::string message) {
        s.ui.promptAnswers = {std::move(name), std::move(message)};
        extra.click(ids::add);
    };
    add("", "");  // both prompts cancelled
    EXPECT_EQ(Session::shown(s.ui.prompts(), extra),
              (Texts{": Enter Screen Name:", ": Enter Message:"}));
    add("John Doe", "back at 5");
    add("JOHNDOE", "later");
    add("John", "x");
    EXPECT_EQ(Session::shown(s.ui.messageBoxes(), extra),
              Texts{"Zorvane: one message per screen name"});
    // A hand-out while the user types the message moves John Doe's entry away: he may queue again.
    s.ui.whilePromptOpen = [&] { s.ui.whilePromptOpen = [&] { handout(list1, list2, 1); }; };
    add("John Doe", "again");
    EXPECT_EQ(itemsOf(list1), (Texts{"-", "john-x", "johndoe-again"}));

    extra.click(ids::addtowait);  // nothing selected: nothing happens
    list2.add("dan-d");
    list2.setSelected(0);
    // John Doe still waits: refused, and his entry stays even as a hand-out runs under the box.
    s.ui.whileMessageBoxOpen = [&] { handout(list1, list2, 1); };
    extra.click(ids::addtowait);
    EXPECT_EQ(itemsOf(list2), (Texts{"johndoe-back at 5", "dan-d", "john-x"}));
    list2.setSelected(1);
    extra.click(ids::addtowait);
    EXPECT_EQ(itemsOf(list1), (Texts{"-", "johndoe-again", "dan-d"}));
    EXPECT_EQ(itemsOf(list2), (Texts{"johndoe-back at 5", "john-x"}));

    extra.doubleClick(ids::List1);  // nothing selected: nothing happens
    list1.setSelected(0);
    extra.doubleClick(ids::List1);
    list2.setSelected(1);
    extra.doubleClick(ids::List2);
    EXPECT_EQ(itemsOf(list1), (Texts{"johndoe-again", "dan-d"}));
    EXPECT_EQ(itemsOf(list2), Texts{"johndoe-back at 5"});

    // Set hides the same window. A close sent under one of its own prompts or boxes leaves it
    // be; one sent after discards both lists.
    extra.click(ids::hide);
    EXPECT_FALSE(extra.visible());
    EXPECT_EQ(&s.open(ids::Label9, "Extra"), &extra);
    EXPECT_TRUE(extra.visible());
    s.ui.whilePromptOpen = [&] { extra.close(); };
    add("Ed", "e");
    s.ui.whileMessageBoxOpen = [&] { extra.close(); };
    add("johndoe", "x");  // the first entry's key
    EXPECT_EQ(itemsOf(list1), (Texts{"johndoe-again", "dan-d", "ed-e"}));
    extra.close();
    EXPECT_EQ(s.ui.forms().size(), 1u);  // only the main window is left
    ModelForm& again = s.open(ids::Label9, "Extra");
    EXPECT_EQ(again.listBox(ids::List1).count() + again.listBox(ids::List2).count(), 0);
}

}  // namespace
}  // namespace zorvane
