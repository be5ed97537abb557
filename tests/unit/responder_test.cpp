// The auto-responder: the scan of the desktop for instant-message windows and the hand-out of a
// buddy's waiting entry, over the in-memory desktop and the real main and Extra windows' code.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "platform/model/model_desktop.h"
#include "platform/model/model_ui.h"
#include "responder/imwindows.h"
#include "waits/waits.h"
#include "windows/control_ids.h"
#include "windows/form1.h"

namespace zorvane {
namespace {

using Texts = std::vector<std::string>;

// Zorvane away with the template "back in %c, %u" and entries queued in the Extra window.
struct Away {
    ModelDesktop desktop;
    ModelUi ui{desktop};
    Form1 form1{ui, desktop};
    ModelForm& main = ui.form("Zorvane v1.0");

    explicit Away(const Texts& entries, const std::string& templ = "back in %c, %u",
                  int hidden = 0) {
        main.textControl(ids::awaym).setText(templ);
        main.textControl(ids::countdown).setText("5");
        main.checkBox(ids::vp).setValue(hidden);
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
    std::string text(int id) { return main.textControl(id).text(); }
    void tick() { main.tick(ids::Timer2); }
    // Opens windows given as "class|caption", front to back, each in front of the last: the
    // system reports them created in the reverse order. A "#32770" one gets an edit field.
    std::vector<WindowHandle> add(const Texts& windows) {
        std::vector<WindowHandle> handles(windows.size());
        for (std::size_t i = windows.size(); i-- > 0;) {
            const std::size_t bar = windows[i].find('|');
            handles[i] = desktop.addWindow(windows[i].substr(0, bar), windows[i].substr(bar + 1));
            desktop.bringToFront(handles[i]);
            if (!windows[i].starts_with("#32770|")) continue;
            desktop.addWindow("Ate32Class", "", desktop.addWindow("WndAte32Class", "", handles[i]));
        }
        return handles;
    }
    Texts written() const {
        Texts texts;
        for (const auto& w : desktop.writes())
            texts.push_back(w.text);
        return texts;
    }
};

TEST(Responder, JoAnnIsAnsweredOnceWithHerMessageThenTheAwayMessageHalfASecondLater) {
    Away s({"joann-back at %c", "amy-x"});
    const auto windows =
        s.add({"#32770|Away Message", "AIM_IMessage|Jo Ann - IM", "AIM_IMessage|bob"});
    // During Jo Ann's wait a scan finds nothing for her, an entry for bob is queued and the user
    // sets back: Jo Ann's second write still happens, and the scan goes on to bob's window.
    s.desktop.postAt(1000.2, [&] {
        s.tick();
        EXPECT_EQ(s.written(), Texts{"back at 3"});
        s.list(ids::List1).add("bob-hi");
        s.main.click(ids::Label8);
    });
    std::size_t writtenBefore = 9;  // an event pending runs inside her message's expansion
    s.desktop.post([&] { writtenBefore = s.written().size(); });
    double start = s.desktop.now();
    s.tick();
    EXPECT_EQ(writtenBefore, 0u);
    EXPECT_EQ(s.items(ids::List1), Texts{"amy-x"});
    EXPECT_EQ(s.items(ids::List2), (Texts{"joann-back at %c", "bob-hi"}));
    // Set Away expanded once (5 -> 4); each hand-out twice more, half a second apart.
    EXPECT_EQ(s.written(), (Texts{"back at 3", "back in 2, 1", "hi", "back in 0, 3"}));
    EXPECT_GE(s.desktop.now() - start, 1.0);
    EXPECT_EQ(s.text(ids::Text1), "Away Message");

    // Away again, a re-queued entry is answered again by the window open all along. The general
    // message cannot be expanded when the count-up would pass 32767: the one that Set Away sent
    // goes back instead, and the user is told.
    s.main.click(ids::Label8);
    s.main.textControl(ids::countup).setText("32766");
    s.list(ids::List2).setSelected(0);
    s.ui.form("Extra").click(ids::addtowait);
    s.tick();
    EXPECT_EQ(s.written(), (Texts{"back at 3", "back in 2, 1", "hi", "back in 0, 3", "back at 0",
                                  "back in 0, 1"}));
    ASSERT_EQ(s.ui.messageBoxes().size(), 1u);
    EXPECT_EQ(s.ui.messageBoxes()[0].text,
              "Count Up cannot go past 32767. Set Back and Set Away again to restart it.");
    // Neither expansion can run, and the away dialog has gone: nothing is written, not even into
    // the last dialog found, yet both expansions step the count-down and the wait runs.
    s.desktop.removeWindow(windows[0]);
    s.main.textControl(ids::countdown).setText("9");
    s.list(ids::List2).setSelected(0);
    s.ui.form("Extra").click(ids::addtowait);
    start = s.desktop.now();
    s.tick();
    EXPECT_EQ(s.items(ids::List2), (Texts{"joann-back at %c", "bob-hi"}));
    EXPECT_EQ(s.text(ids::Text1), "");
    EXPECT_EQ(s.text(ids::countdown), "7");
    EXPECT_GE(s.desktop.now() - start, 0.5);
    // A wait of no time runs no pending event; half a second in steps of a quarter, two pumps,
    // sleeping between them for the quarter left.
    s.desktop.pumpStep = 0.25;  // exact in binary: the wait ends right on time
    const int pumps = s.desktop.pumpCount();
    const double waited = s.desktop.waitedSeconds();
    Texts made;
    pauseseconds(s.desktop, 0, [&] { made.push_back("now"); });
    pauseseconds(s.desktop, 0.5, [&] { made.push_back("later"); });
    EXPECT_EQ(s.desktop.pumpCount(), pumps + 2);
    EXPECT_EQ(s.desktop.waitedSeconds() - waited, 0.25);
    EXPECT_EQ(made, (Texts{"now", "later"}));
}

// Whatever runs when a buddy's half second is up (a prompt, the refresh's message box, a Set
// Away in hidden mode and its box, a slow shell, a slow IM client), the general message goes
// back then; and no other buddy's message goes in before it: each hand-out writes twice, and
// each buddy's message holds the dialog for its own half second.
TEST(Responder, EachBuddysMessageHoldsTheAwayDialogForItsHalfSecondWhateverRunsMeanwhile) {
    const std::string longTemplate = "back in %c" + std::string(40000, '.');
    const struct {
        std::string meanwhile;  // 0.25 s after Jo Ann's message; a prompt or box stays open 10 s
        Texts written;          // milliseconds after Jo Ann's message, and the start of the text
        Texts waiting;          // afterwards
    } cases[] = {
        {"prompt", {"0 back at 3", "500 back in 2, 3"}, {"bob-hi", "amy-hello"}},
        {"refresh box", {"0 back at 3", "500 back in 1..."}, {"bob-hi"}},
        // Bob's window, open from the start or opened under the prompt, is answered once Jo
        // Ann's message has left; the next tick after, or at once in the same scan.
        {"prompt, bob",
         {"0 back at 3", "500 back in 2, 3", "750 hi", "1250 back in 0, 5"},
         {"amy-hello"}},
        {"bob", {"0 back at 3", "500 back in 2, 3", "625 hi", "1125 back in 0, 5"}, {}},
        // Set Back, then Set Away in hidden mode: its text goes in half a second later, and is
        // refused under a box.
        {"hidden", {"0 back at 3", "500 back in 2, 1"}, {"bob-hi"}},
        // The shell takes 1.5 s over the refresh's command, the client a quarter over each text.
        {"slow shell", {"0 back at 3", "500 back in 1, 4"}, {"bob-hi"}},
        {"slow client", {"0 back at 3", "750 back in 2, 3"}, {"bob-hi"}},
        // The client hangs when the general message is due: it goes again, and Bob, whose
        // window is open all along, waits until the client has taken it; unless a newer away
        // message has gone to the client meanwhile.
        {"client hangs, bob",
         {"0 back at 3", "1500 back in 2, 3", "1750 hi", "2250 back in 0, 5"},
         {}},
        {"client hangs, away again, bob", {"0 back at 3", "1750 hi", "2250 gone home"}, {}},
        // For ten seconds and more: the general message goes again 20 times, then the others
        // are answered as the client allows.
        {"client hangs 10 s, bob", {"0 back at 3", "11250 back in 0, 5"}, {}},
        // It hangs from the start: her message never went in, so nothing is sent again for it.
        {"client hangs at once", {}, {"bob-hi"}},
        // The client takes a second over the general message, which goes in late, and Bob's
        // after it, in the order written.
        {"client slow, bob",
         {"0 back at 3", "1500 back in 2, 3", "1500 hi", "1625 back in 0, 5"},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.meanwhile);
        // The refresh cannot send the long message, so it is set away in hidden mode.
        const bool refresh = c.meanwhile == "refresh box";
        Away s({"joann-back at %c", "bob-hi"}, refresh ? longTemplate : "back in %c, %u", refresh);
        s.main.checkBox(ids::vp).setValue(0);
        s.desktop.pumpStep = 0.125;  // exact in binary
        s.ui.modalSeconds = 10;
        s.ui.promptAnswers = {"amy", "hello"};
        if (c.meanwhile == "slow client") s.desktop.writeSeconds = maxPeerWriteSeconds;
        // The scanning timer runs inside the modal windows too.
        std::function<void()> ticking = [&] {
            s.tick();
            s.desktop.postAt(s.desktop.now() + 0.125, ticking);
        };
        const double start = s.desktop.now();
        if (c.meanwhile == "client hangs at once") {
            s.desktop.clientHangs = true;
            s.desktop.postAt(start + 0.75, [&] { s.desktop.clientHangs = false; });
        }
        s.desktop.postAt(start + 0.25, [&] {
            if (c.meanwhile == "prompt, bob")
                s.desktop.postAt(start + 0.375, [&] { s.add({"AIM_IMessage|bob"}); });
            ticking();
            if (refresh) return s.main.tick(ids::Timer1);
            if (c.meanwhile.starts_with("client hangs")) {
                s.desktop.postAt(start + 0.45, [&] { s.desktop.clientHangs = true; });
                s.desktop.postAt(start + (c.meanwhile.starts_with("client hangs 10") ? 10.9 : 1.2),
                                 [&] { s.desktop.clientHangs = false; });
            }
            if (c.meanwhile == "client hangs, away again, bob") {
                s.desktop.postAt(start + 1.6, [&] { s.add({"AIM_IMessage|bob"}); });
                s.desktop.postAt(start + 0.9, [&] {
                    s.main.click(ids::Label8);
                    s.main.textControl(ids::awaym).setText("gone home");
                    s.main.click(ids::Label8);
                });
            }
            if (c.meanwhile == "client slow, bob") {
                s.desktop.postAt(start + 0.45, [&] { s.desktop.writeSeconds = 1; });
                s.desktop.postAt(start + 0.8, [&] { s.desktop.writeSeconds = 0; });
            }
            if (c.meanwhile == "slow shell") {
                s.desktop.urlSeconds = 1.5;
                return s.main.tick(ids::Timer1);
            }
            if (c.meanwhile == "hidden") {
                const WindowHandle dialog = s.add({"#32770|Zorvane"})[0];
                const WindowHandle inside = s.desktop.findChild(dialog, "WndAte32Class");
                s.desktop.elevated.insert(s.desktop.findChild(inside, "Ate32Class"));
                s.main.click(ids::Label8);
                s.main.checkBox(ids::vp).setValue(1);
                return s.main.click(ids::Label8);
            }
            if (c.meanwhile.starts_with("prompt")) s.ui.form("Extra").click(ids::add);
        });
        Texts windows{"#32770|Away Message", "AIM_IMessage|Jo Ann"};
        if (c.meanwhile.ends_with("bob") && c.meanwhile != "prompt, bob" &&
            c.meanwhile != "client hangs, away again, bob")
            windows.push_back("AIM_IMessage|bob");
        s.add(windows);
        s.tick();
        const double seconds = c.meanwhile == "client hangs 10 s, bob" ? 12 : 3;
        while (s.desktop.now() < start + seconds)
            s.desktop.pumpEvents();
        Texts written;
        for (const auto& w : s.desktop.writes()) {
            const double after = w.at - s.desktop.writes()[0].at;
            written.push_back(std::to_string(std::lround(after * 1000)) + " " +
                              w.text.substr(0, 12));
        }
        EXPECT_EQ(written, c.written);
        EXPECT_EQ(s.items(ids::List1), c.waiting);
        const bool modal = c.meanwhile.starts_with("prompt") || refresh || c.meanwhile == "hidden";
        if (seconds < 10) {
            EXPECT_EQ(s.desktop.now() - start >= 10, modal);  // the modal windows had closed
        }
    }
}

// Another program's windows may be huge or oddly named: each entry is handed out once,
// with two writes into the last away dialog found, if there is one.
TEST(Responder, EachEntryIsHandedOutOnceIntoTheLastAwayDialogWhateverTheDesktopHolds) {
    // A window whose class starts with "AIM_IMessage" is an IM window; its screen name is its
    // caption before the first "-", its spaces removed. The last "#32770" window whose caption
    // holds "Away" is the away dialog. Class names may be 256 characters long.
    Texts odd{"#32770|Away Message",   "#32770|Away from desk",  "#32770|away",
              "Dialog|Away",           "AIM_IMessage|BOB-x - y", "AIM_IMessag|amy",
              "aim_imessage|amy",      "AIM_IMessage|a\tmy - x", "AIM_IMessage|",
              "AIM_IMessage|amyx - IM"};
    odd.push_back("AIM_IMessage" + std::string(244, 'x') + "| J o  A N N ");
    odd.push_back(std::string(256, 'y') + "|amy");
    const std::string huge(70000, 'x');
    const Texts long1{"#32770|Away" + huge, "#32770|Away Message", "AIM_IMessage|Jo Ann - " + huge,
                      "AIM_IMessage|" + huge, "AIM_IMessage|bob" + std::string(5000, ' ') + "- x"};
    const struct {
        Texts answered;      // in this order
        std::string found;   // the caption of the away dialog found
        std::size_t writes;  // per hand-out
        Texts windows;       // front to back
    } cases[] = {
        {{"bob-2", "joann-1"}, "Away from desk", 2, odd},
        {{"bob-2"}, "Away", 0, {"X#32770|Away", "#32770|Not here", "AIM_IMessage|bob"}},
        {{"bob-2"}, "", 0, {"#32770|", "AIM_IMessage|bob"}},  // not even an untitled dialog
        {{"joann-1", "bob-2"}, "Away Message", 2, long1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        Away s({"joann-1", "bob-2", "amy-3"});
        s.tick();  // the watch has looked; the windows below are reported created
        s.add(c.windows);
        s.tick();
        EXPECT_EQ(s.items(ids::List2), c.answered);
        EXPECT_EQ(s.text(ids::Text1), c.found);
        EXPECT_EQ(s.written().size(), c.writes * c.answered.size());
        EXPECT_EQ(s.text(ids::countup), std::to_string(1 + 2 * c.answered.size()));
    }
}

// A tick looks only at what the system reported of windows made, renamed or gone, and at the
// whole desktop every few seconds.
TEST(Responder, AScanAsksNothingWithNothingWaitingAndLittleBesideThousandsOfWindows) {
    Away s({});
    for (int i = 0; i < 2000; ++i)
        s.desktop.addWindow("Other", "window " + std::to_string(i));
    s.add({"#32770|Away Message", "AIM_IMessage|bob", "AIM_IMessage|cy", "AIM_IMessage|di"});
    int queries = s.desktop.windowQueries();
    s.tick();
    EXPECT_EQ(s.desktop.windowQueries(), queries);  // List1 empty: not a single question

    s.list(ids::List1).add("joann-1");
    s.list(ids::List1).add("amy-2");
    for (int i = 0; i < 198; ++i)
        s.list(ids::List1).add("nobody" + std::to_string(i) + "-x");
    s.tick();  // the first look is a full one
    queries = s.desktop.windowQueries();
    const int reads = static_cast<ModelListBox&>(s.list(ids::List1)).itemReads();
    s.tick();
    // Not one question about the three IM windows or the 2000 others, and not one of the 200
    // entries, which have not changed.
    EXPECT_EQ(s.desktop.windowQueries() - queries, 0);
    EXPECT_EQ(static_cast<ModelListBox&>(s.list(ids::List1)).itemReads(), reads);

    // Jo Ann's window goes unreported: the full look finds it once its time has come.
    s.desktop.reportChanges = false;
    s.desktop.addWindow("AIM_IMessage", "Jo Ann");
    s.tick();
    EXPECT_TRUE(s.written().empty());
    s.desktop.advanceClock(ImWindowWatch::fullPassSeconds);
    s.tick();
    EXPECT_EQ(s.written().size(), 2u);

    // Amy's window, reported created, is answered at the next tick. The search for the away
    // dialog looks at each window once; with one buddy to answer, no full look adds a second.
    s.desktop.reportChanges = true;
    const WindowHandle amy = s.desktop.addWindow("AIM_IMessage", "Amy");
    queries = s.desktop.windowQueries();
    s.tick();
    EXPECT_EQ(s.written().size(), 4u);
    EXPECT_LT(s.desktop.windowQueries() - queries, 3000);

    // Her window closes and the system gives its handle to a window of another kind.
    s.desktop.reuseHandles = true;
    s.desktop.removeWindow(amy);
    EXPECT_EQ(s.desktop.addWindow("Other", "Amy"), amy);
    s.list(ids::List1).add("amy-again");
    s.tick();
    EXPECT_EQ(s.written().size(), 4u);

    // Renames, reported: a caption given after the window was made, one changed to a waiting
    // buddy's, and one changed away and back after its buddy was answered, who is not answered
    // again. A rename the system does not report is found by the next full look.
    const WindowHandle untitled = s.desktop.addWindow("AIM_IMessage", "");
    for (const std::string buddy : {"ed", "fay", "gil"})
        s.list(ids::List1).add(buddy + "-hi");
    s.tick();
    const auto renamed = [&](WindowHandle window, std::string title) {
        s.desktop.renameWindow(window, std::move(title));
        s.tick();
        return s.written().size();
    };
    EXPECT_EQ(renamed(untitled, "Ed - IM"), 6u);
    EXPECT_EQ(renamed(untitled, "x"), 6u);
    EXPECT_EQ(renamed(untitled, "Ed"), 6u);
    EXPECT_EQ(renamed(s.desktop.findWindows("AIM_IMessage", "bob").at(0), "Fay"), 8u);
    s.desktop.reportChanges = false;
    EXPECT_EQ(renamed(s.desktop.findWindows("AIM_IMessage", "cy").at(0), "Gil"), 8u);
    s.desktop.advanceClock(ImWindowWatch::fullPassSeconds);
    s.tick();
    EXPECT_EQ(s.written().size(), 10u);
    // Unreported, a caption given after the window was made still comes in at the next tick.
    s.list(ids::List1).add("hal-hi");
    const WindowHandle late = s.desktop.addWindow("AIM_IMessage", "");
    s.desktop.advanceClock(ImWindowWatch::fullPassSeconds);
    s.tick();
    EXPECT_EQ(renamed(late, "Hal"), 12u);
    // Ivy's window is made, then more windows than the system keeps reports of: it says some
    // were lost, and the next tick looks at the whole desktop.
    s.desktop.reportChanges = true;
    s.desktop.maxReports = 4;
    s.list(ids::List1).add("ivy-hi");
    s.desktop.addWindow("AIM_IMessage", "Ivy");
    for (int i = 0; i < 4; ++i)
        s.desktop.addWindow("Other", "more");
    s.tick();
    EXPECT_EQ(s.written().size(), 14u);
}

}  // namespace
}  // namespace zorvane
