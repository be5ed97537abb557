// The auto-responder: the scan of the desktop for instant-message windows and the hand-out of a
// buddy's waiting entry, over the in-memory desktop and the real main and Extra windows' code.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/model/model_desktop.h"
#include "platform/model/model_ui.h"
#include "responder/imwindows.h"
#include "responder/responder.h"
#include "responder/windowutils.h"
#include "windows/control_ids.h"
#include "windows/form1.h"

namespace zorvane {
namespace {

using Texts = std::vector<std::string>;

// Zorvane away with the template "back in %c, %u" and entries queued in the Extra window.
struct Away {
    ModelDesktop desktop;
    ModelUi ui;
    Form1 form1{ui, desktop};
    ModelForm& main = ui.form("Zorvane v1.0");
    TextControl& countdown = main.textControl(ids::countdown);
    TextControl& countup = main.textControl(ids::countup);

    explicit Away(const Texts& entries, std::string down = "5") {
        main.textControl(ids::awaym).setText("back in %c, %u");
        countdown.setText(down);
        main.click(ids::Label9);
        for (const auto& entry : entries)
            list(ids::List1).add(entry);
        main.click(ids::Label8);
    }
    ListBox& list(int id) { return ui.form("Extra").listBox(id); }
    Texts items(int id) {
        Texts texts;
        for (int i = 0; i < list(id).count(); ++i)
            texts.push_back(list(id).item(i));
        return texts;
    }
    // An away dialog with its edit field; returns the edit field.
    WindowHandle dialog(std::string title, std::string className = "#32770") {
        const WindowHandle window = desktop.addWindow(std::move(className), std::move(title));
        return desktop.addWindow("Ate32Class", "", desktop.addWindow("WndAte32Class", "", window));
    }
    WindowHandle im(std::string caption, std::string className = "AIM_IMessage") {
        return desktop.addWindow(std::move(className), std::move(caption));
    }
    void tick() { main.tick(ids::Timer2); }
    // Each write into a window, as "text" (or "text@handle" for any window but `edit`).
    Texts written(WindowHandle edit = 0) const {
        Texts texts;
        for (const auto& w : desktop.writes())
            texts.push_back(w.text + (w.window == edit ? "" : "@" + std::to_string(w.window)));
        return texts;
    }
};

TEST(Responder, JoAnnIsAnsweredOnceWithHerMessageThenTheAwayMessageHalfASecondLater) {
    Away s({"bob-hi", "joann-back at %c", "amy-x"});
    const WindowHandle edit = s.dialog("Away Message");
    const WindowHandle imWindow = s.im("Jo Ann - Instant Message");
    std::vector<double> at;
    s.desktop.post([&] { at.push_back(s.desktop.now()); });  // runs in the first expansion
    s.tick();
    EXPECT_EQ(s.items(ids::List1), (Texts{"bob-hi", "amy-x"}));
    EXPECT_EQ(s.items(ids::List2), Texts{"joann-back at %c"});
    // Set Away expanded once (5 -> 4); the hand-out twice more.
    EXPECT_EQ(s.written(edit), (Texts{"back at 3", "back in 2, 3"}));
    EXPECT_EQ(s.main.textControl(ids::Text1).text(), "Away Message");
    EXPECT_GE(s.desktop.now() - at.front(), 0.5 - 0.05);
    // The IM window is only read; left open, it is not answered again.
    for (int i = 0; i < 10; ++i)
        s.tick();
    EXPECT_EQ(s.written(edit).size(), 2u);
    EXPECT_EQ(s.desktop.windowText(imWindow, 100), "Jo Ann - Instant Message");

    // Re-queued by the user, the entry is answered again by the window open all along.
    s.list(ids::List2).setSelected(0);
    s.ui.form("Extra").click(ids::addtowait);
    s.tick();
    EXPECT_EQ(s.written(edit), (Texts{"back at 3", "back in 2, 3", "back at 1", "back in 0, 5"}));
}

TEST(Responder, OnlyAnImWindowsScreenNameBeforeTheFirstDashFindsAnEntry) {
    const struct {
        std::string className, caption;
        bool answered;
    } cases[] = {
        {"AIM_IMessage", "Jo Ann - Conversation", true},
        {"AIM_IMessageX", "Jo Ann - Conversation", true},
        {"AIM_IMessag", "Jo Ann - Conversation", false},
        {"aim_imessage", "Jo Ann - Conversation", false},
        {"AIM_IMessage", " J o  A N N ", true},  // no "-": the whole caption
        {"AIM_IMessage", "JoAnn-x-y", true},     // cut at the first "-"
        {"AIM_IMessage", "Jo\tAnn - x", false},  // only spaces go
        {"AIM_IMessage", "", false},             // no caption: passed over
        {"AIM_IMessage", "- Jo Ann", false},     // an empty screen name
        {"AIM_IMessage", "JoAnna - Conversation", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.className + "|" + c.caption);
        Away s({"joann-hi"});
        s.dialog("Away Message");
        s.im(c.caption, c.className);
        s.tick();
        EXPECT_EQ(s.items(ids::List2).size(), c.answered ? 1u : 0u);
        EXPECT_EQ(s.written().size(), c.answered ? 2u : 0u);
        // Unanswered: nothing moved, written or stepped.
        EXPECT_EQ(s.countup.text(), c.answered ? "3" : "1");
        EXPECT_EQ(s.main.textControl(ids::Text1).text(), c.answered ? "Away Message" : "");
    }
}

TEST(Responder, TheLastAwayDialogInTheDesktopsOrderTakesBothWrites) {
    const struct {
        std::vector<std::pair<std::string, std::string>> dialogs;  // class, caption
        int target;  // which one is written into; -1: none
    } cases[] = {
        {{{"#32770", "Away Message"}, {"#32770", "Away from desk"}}, 1},
        {{{"#32770", "Away Message"}, {"#32770", "away"}}, 0},
        {{{"#32770", "Away Message"}, {"Dialog", "Away from desk"}}, 0},
        {{{"X#32770", "Away Message"}, {"#32770", "Not here"}}, -1},  // found, but not a dialog
        {{{"#32770", ""}}, -1},  // none found: not even an untitled dialog is written to
        {{}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        Away s({"joann-hi"});
        std::vector<WindowHandle> edits;
        for (const auto& [className, caption] : c.dialogs)
            edits.push_back(s.dialog(caption, className));
        s.im("Jo Ann");
        s.tick();
        EXPECT_EQ(s.items(ids::List2), Texts{"joann-hi"});
        EXPECT_EQ(s.countup.text(), "3");  // both expansions ran
        EXPECT_EQ(s.written(c.target < 0 ? 0 : edits[c.target]),
                  c.target < 0 ? Texts{} : (Texts{"hi", "back in 2, 3"}));
    }
}

TEST(Responder, EachHandOutStepsTheCountersTwiceAndAFailedExpansionSkipsOnlyItsWrite) {
    const struct {
        std::string down, up, downAfter;
        Texts written;
    } cases[] = {
        {"5", "0", "3", {"hi", "back in 3, 2"}},
        {"1", "0", "0", {"hi", "back in 0, 2"}},
        {"-2", "0", "-4", {"hi", "back in -4, 2"}},
        {"5", "32766", "3", {"hi"}},  // the second expansion goes past 32767
        {"x", "0", "x", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.down + "/" + c.up);
        Away s({"joann-hi"});
        const WindowHandle edit = s.dialog("Away Message");
        s.im("Jo Ann");
        s.countdown.setText(c.down);
        s.countup.setText(c.up);
        const double start = s.desktop.now();
        s.tick();
        EXPECT_EQ(s.countdown.text(), c.downAfter);
        EXPECT_EQ(s.written(edit), c.written);
        EXPECT_EQ(s.items(ids::List2), Texts{"joann-hi"});
        EXPECT_GE(s.desktop.now() - start, 0.5);  // the wait still ran
    }
}

TEST(Responder, EventsDuringTheWaitNeitherRepeatNorStopTheHandOut) {
    Away s({"joann-one"});
    const WindowHandle edit = s.dialog("Away Message");
    s.im("Jo Ann");
    s.im("bob");
    // During Jo Ann's wait a scan finds nothing for her, an entry for bob is queued and the user
    // sets back: Jo Ann's second write still happens, and the scan goes on to bob's window.
    s.desktop.postAt(1000.2, [&] {
        s.tick();
        EXPECT_EQ(s.written(edit), Texts{"one"});
        s.list(ids::List1).add("bob-two");
        s.main.click(ids::Label8);
    });
    s.tick();
    EXPECT_EQ(s.items(ids::List2), (Texts{"joann-one", "bob-two"}));
    EXPECT_EQ(s.written(edit), (Texts{"one", "back in 2, 1", "two", "back in 0, 3"}));
    s.tick();  // no later tick: the timer is off
    EXPECT_EQ(s.written().size(), 4u);
}

TEST(Responder, AScanCostsNothingWithNothingWaitingAndLittleWithThousandsOfWindows) {
    Away s({});
    for (int i = 0; i < 2000; ++i)
        s.desktop.addWindow("Other", "window " + std::to_string(i));
    const WindowHandle bobWindow = s.im("bob");
    int queries = s.desktop.windowQueries();
    s.tick();
    EXPECT_EQ(s.desktop.windowQueries(), queries);  // List1 empty: not a single question

    s.list(ids::List1).add("joann-hi");
    s.tick();  // the first look is a full one
    queries = s.desktop.windowQueries();
    for (int i = 0; i < 100; ++i)
        s.tick();
    // Per tick: whether bob's window still exists and its caption, not one question per window.
    EXPECT_EQ(s.desktop.windowQueries() - queries, 100 * 2);
    s.desktop.removeWindow(bobWindow);

    // Jo Ann's window reported created is answered at the next tick, without a full look.
    const WindowHandle edit = s.dialog("Away Message");
    s.im("Jo Ann");
    s.tick();
    EXPECT_EQ(s.written(edit).size(), 2u);
}

TEST(Responder, AWindowWhoseCreationWasMissedIsFoundByTheNextFullLook) {
    Away s({"joann-hi"});
    const WindowHandle edit = s.dialog("Away Message");
    s.tick();
    s.desktop.reportCreations = false;
    s.im("Jo Ann");
    s.tick();
    EXPECT_TRUE(s.written(edit).empty());
    s.desktop.advanceClock(ImWindowWatch::fullPassSeconds);
    s.tick();
    EXPECT_EQ(s.written(edit).size(), 2u);
}

// Another program's windows may be huge, many, oddly named, or gone between any two questions
// about them. Whatever happens, each entry is handed out once or still waits for a window that
// is not there, each hand-out writes twice into an away dialog that stood, and a tick with
// nothing to hand out asks a few questions per IM window and none per other window.
TEST(Responder, AHostileDesktopNeitherLosesNorRepeatsAnEntry) {
    using Windows = std::vector<std::pair<std::string, std::string>>;  // class, caption
    const std::string huge(70000, 'x');
    const Windows usual{{"#32770", "Away Message"},
                        {"#32770", "Away from desk"},
                        {"AIM_IMessage", "Jo Ann - Instant Message"},
                        {"AIM_IMessage", "bob"}};
    Windows many{{"#32770", "Away Message"}};
    for (int i = 0; i < 2000; ++i)
        many.emplace_back("AIM_IMessage", i == 700    ? "bob"
                                          : i == 1400 ? "Jo Ann"
                                                      : "x " + std::to_string(i));
    const struct {
        const char* what;
        Windows windows;  // front to back
        int vanishing;    // closed before each question of the tick in turn; -1: none
        Texts answered;   // when nothing closes
    } cases[] = {
        {"the IM window closes", usual, 2, {"joann-1", "bob-2"}},
        {"the later away dialog closes", usual, 1, {"joann-1", "bob-2"}},
        {"the earlier away dialog closes", usual, 0, {"joann-1", "bob-2"}},
        {"captions of 70000 characters",
         {{"#32770", "Away" + huge},
          {"#32770", "Away Message"},
          {"AIM_IMessage", "Jo Ann - " + huge},
          {"AIM_IMessage", huge},
          {"AIM_IMessage", "bob" + std::string(5000, ' ') + "- x"}},
         -1,
         {"joann-1", "bob-2"}},
        {"class names of 256 characters",
         {{"#32770", "Away Message"},
          {"AIM_IMessage" + std::string(244, 'x'), "Jo Ann"},
          {std::string(256, 'y'), "bob"}},
         1,
         {"joann-1"}},
        {"2000 IM windows", many, -1, {"bob-2", "joann-1"}},
    };
    for (const auto& c : cases) {
        // Question 0: nothing closes; the number of questions the tick asks then bounds the rest.
        for (int question = 0, questions = 0; question <= questions; ++question) {
            SCOPED_TRACE(std::string(c.what) + ", closed before question " +
                         std::to_string(question));
            Away s({"joann-1", "bob-2", "amy-3"});
            s.tick();  // the watch has looked; the windows below are reported created
            std::vector<WindowHandle> windows;
            for (const auto& [className, caption] : c.windows) {
                windows.push_back(s.desktop.addWindow(className, caption));
                if (className == "#32770") {
                    s.desktop.addWindow("Ate32Class", "",
                                        s.desktop.addWindow("WndAte32Class", "", windows.back()));
                }
            }
            const int before = s.desktop.windowQueries();
            if (question > 0) {
                s.desktop.beforeQuery(before + question,
                                      [&] { s.desktop.removeWindow(windows[c.vanishing]); });
            }
            s.tick();
            if (question == 0 && c.vanishing >= 0) questions = s.desktop.windowQueries() - before;

            const Texts handedOut = s.items(ids::List2);
            if (question == 0) {
                EXPECT_EQ(handedOut, c.answered);
            }
            int imWindows = 0;
            for (const WindowHandle window : s.desktop.topLevelWindows()) {
                if (s.desktop.className(window, 12) != "AIM_IMessage") continue;
                ++imWindows;
                // A buddy whose window is open has no entry left waiting.
                EXPECT_FALSE(
                    checklist(s.list(ids::List1), screenName(windowtitle(s.desktop, window))));
            }
            Texts all = s.items(ids::List1);
            all.insert(all.end(), handedOut.begin(), handedOut.end());
            std::ranges::sort(all);
            EXPECT_EQ(all, (Texts{"amy-3", "bob-2", "joann-1"}));  // each in exactly one list
            EXPECT_EQ(s.countup.text(), std::to_string(1 + 2 * handedOut.size()));
            // A dialog that closes after the search takes its writes with it; none goes elsewhere.
            const bool dialogStood = c.vanishing < 0 || c.windows[c.vanishing].first != "#32770";
            EXPECT_LE(s.desktop.writes().size(), 2 * handedOut.size());
            if (dialogStood) {
                EXPECT_EQ(s.desktop.writes().size(), 2 * handedOut.size());
            }
            // One dialog stood all along, so the search found one.
            if (!handedOut.empty()) {
                EXPECT_NE(s.main.textControl(ids::Text1).text(), "");
            }

            s.list(ids::List1).add("zed-0");  // waits for a window that never comes
            s.tick();                         // may be the periodic full look
            const int quiet = s.desktop.windowQueries();
            s.tick();
            EXPECT_LE(s.desktop.windowQueries() - quiet, 3 * imWindows);
        }
    }
}

TEST(Responder, SeveralAnsweredInOneScanGoInTheDesktopsCurrentOrder) {
    Away s({"joann-1", "bob-2"});
    const WindowHandle edit = s.dialog("Away Message");
    s.tick();  // the watch has looked; both windows come later, bob's first
    const WindowHandle bob = s.im("bob");
    const WindowHandle joann = s.im("Jo Ann");
    s.desktop.bringToFront(joann);
    s.desktop.bringToFront(bob);
    s.desktop.bringToFront(joann);
    s.tick();
    EXPECT_EQ(s.written(edit), (Texts{"1", "back in 2, 3", "2", "back in 0, 5"}));
}

TEST(WindowUtilities, ClassPrefixCaptionAndTheWait) {
    ModelDesktop desktop;
    const WindowHandle dialog = desktop.addWindow("#32770", std::string(40, 'c'));
    const WindowHandle longClass = desktop.addWindow(std::string(30, 'L'), "");
    EXPECT_EQ(classprefix(desktop, dialog), "#32770");
    EXPECT_EQ(classprefix(desktop, longClass), std::string(12, 'L'));
    EXPECT_EQ(windowtitle(desktop, dialog), std::string(40, 'c'));
    EXPECT_EQ(windowtitle(desktop, longClass), "");
    desktop.removeWindow(dialog);
    EXPECT_EQ(classprefix(desktop, dialog) + windowtitle(desktop, dialog), "");

    pauseseconds(desktop, 0);
    EXPECT_EQ(desktop.pumpCount(), 0);
    bool ran = false;
    const double start = desktop.now();
    desktop.postAt(start + 0.2, [&] { ran = true; });
    pauseseconds(desktop, 0.5);
    EXPECT_TRUE(ran);
    EXPECT_GE(desktop.now() - start, 0.5);
    EXPECT_LT(desktop.now() - start, 0.5 + desktop.pumpStep);
    const int pumps = desktop.pumpCount();
    pauseseconds(desktop, 1e-9);
    EXPECT_EQ(desktop.pumpCount(), pumps + 1);  // at least one pump for any positive wait
}

}  // namespace
}  // namespace zorvane
