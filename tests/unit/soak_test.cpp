// A day away, compressed: over the in-memory desktop and its clock the two timers fire as they
// would, the IM client opens and closes instant-message windows at random and is slow now and
// then, and so is the shell; wherever the pump runs the user does something at random (Set
// Back, Set Away, both with hidden mode changed, add an entry through the Extra window's
// prompts, re-queue, remove, close the Extra window). Afterwards no entry was handed out twice
// or lost, each buddy's message held the away dialog for its half second, the counters agree
// with the expansions, and nothing grew.
//
// ZORVANE_SOAK_HOURS sets the length (1 by default; `make soak` runs 24) and ZORVANE_SOAK_SEED
// the seed; the figures and the seed are printed at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <random>
#include <ranges>

#include "buddies/buddylists.h"
#include "platform/model/model_desktop.h"
#include "platform/model/model_ui.h"
#include "windows/control_ids.h"
#include "windows/form1.h"

namespace zorvane {
namespace {

constexpr double scanPeriod = 0.2;  // Timer2: a hand-out's half-second wait holds two ticks
constexpr double handOutsPerSecond = 1000.0 / 86400;
const std::string buddies[] = {"Jo Ann", "bob", "Carl X", "DANA", "eve", "Frank N Stein", "gil"};

int fromEnvironment(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

// The day is the desktop Zorvane runs on: the IM client and the user act inside its pump.
struct Day : ModelDesktop {
    std::mt19937 random;
    ModelUi ui{*this};
    Form1 form1{ui, *this};
    ModelForm& main = ui.form("Zorvane v1.0");
    const double start = now();
    double end = 0;  // of the day: the user acts until then
    const WindowHandle edit = addWindow(
        "Ate32Class", "", addWindow("WndAte32Class", "", addWindow("#32770", "Away Message")));
    // Where hidden mode writes: the dialog the IM client opens for our placeholder.
    const WindowHandle hiddenEdit =
        addWindow("Ate32Class", "", addWindow("WndAte32Class", "", addWindow("#32770", "Zorvane")));
    int placeholders = 0;                                 // away commands that carried no expansion
    WindowHandle imWindows[2 * std::size(buddies)] = {};  // two at most for each buddy
    // How often each message should be in each list by what the user did; hand-outs, which
    // move one from the waiting list to the completed one, are counted in at the end.
    std::map<std::pair<int, std::string>, int> expected;
    int countdownAtClick = 0, actions = 0, adds = 0;
    std::optional<WaitingIndex> index;  // over the Extra window's waiting list
    // The Extra window's prompts and boxes stay open a while, mostly a moment, now and then a
    // minute, and their loops run the day's events. Hooks run once: this one sets itself again.
    std::function<void()> whileModal = [this] {
        ui.whilePromptOpen = ui.whileMessageBoxOpen = whileModal;
        ui.modalSeconds = pick(10) ? pumpStep * (1 + pick(20)) : pick(60);
    };

    explicit Day(unsigned seed) : random(seed) {
        ui.whilePromptOpen = ui.whileMessageBoxOpen = whileModal;
        for (int i = 0; i < 40; ++i)
            addWindow("Other", "window " + std::to_string(i));
        main.textControl(ids::awaym).setText("away %u min, back in %c min\r\n%m");
        main.textControl(ids::countdown).setText("30000");
        toggle();
        repeat(scanPeriod, [this] { main.tick(ids::Timer2); });
        repeat(60, [this] { main.tick(ids::Timer1); });
        // Now and then the shell takes up to 2 s over a URL, or the IM client a while over a text.
        repeat(300, [this] {
            urlSeconds = pick(4) ? 0 : 0.5 * pick(5);
            writeSeconds = pick(4) ? 0 : 0.05 * pick(3);
        });
        // The IM client opens or closes a window now and then, closing it at once or between
        // two of the questions that follow about the windows.
        repeat(10, [this] {
            const int slot = pick(std::ssize(imWindows));
            WindowHandle& window = imWindows[slot];
            const auto close = [this, &window] {
                if (window != 0) removeWindow(std::exchange(window, 0));
            };
            if (window != 0)
                return pick(2) ? close() : beforeQuery(windowQueries() + 1 + pick(20), close);
            window = addWindow("AIM_IMessage",
                               buddies[slot % std::size(buddies)] + (pick(2) ? " - IM" : ""));
        });
    }

    void run(int hours) {
        for (end = start + 3600.0 * hours; now() < end && !::testing::Test::HasFailure();) {
            advanceClock(scanPeriod - pumpStep);
            // No expansion is under way here: each message delivered stepped both counters once,
            // and the count-up counts the steps since the last Set Away or Set Back.
            EXPECT_EQ(counter(ids::countdown),
                      30000 - std::ssize(writes()) - std::ssize(openedUrls()) + placeholders);
            EXPECT_EQ(counter(ids::countup), countdownAtClick - counter(ids::countdown));
            if (main.textControl(ids::Label8).text() == "Set Away" && pick(2)) toggle();
            if (pick(100) == 0) act();
            ModelDesktop::pumpEvents();  // the handlers' pumps are the user's too
        }
    }
    // A buddy's message holds the away dialog for half a second, whatever runs meanwhile, and
    // then the general message goes back before anyone else's: late by a scan tick and a slow
    // write at most.
    static constexpr double longest = 0.5 + scanPeriod + maxPeerWriteSeconds;
    static bool general(const TextWrite& write) { return write.text.starts_with("away "); }
    void pumpEvents() override {
        const auto last =
            std::ranges::find(writes() | std::views::reverse, edit, &TextWrite::window);
        if (last != writes().rend() && !general(*last)) {
            EXPECT_LE(now() - last->at, longest) << last->text << " outstayed its time";
        }
        if (now() < end) act();
        ModelDesktop::pumpEvents();
    }
    bool openUrl(std::string_view url) override {
        placeholders += url.ends_with(placeholderMessage);
        return ModelDesktop::openUrl(url);
    }
    // `event` every `period` seconds, nested in a wait too.
    void repeat(double period, std::function<void()> event) {
        postAt(now() + period, [=, this] {
            repeat(period, event);
            event();
        });
    }
    int counter(int id) { return std::stoi(main.textControl(id).text()); }
    // Each writes twice into the away dialog.
    std::size_t handOuts() const {
        return static_cast<std::size_t>(std::ranges::count(writes(), edit, &TextWrite::window)) / 2;
    }
    // Set Away or Set Back: the count-up starts again from the count-down's value here.
    void toggle() {
        countdownAtClick = counter(ids::countdown);
        main.click(ids::Label8);
    }

    void act() {
        ++actions;
        // Set Away or Set Back, Set Back and Away again with hidden mode changed, nothing, add,
        // re-queue, remove, close the Extra window; while one of the Extra window's prompts or
        // boxes is open, that window takes no clicks.
        static constexpr double weights[] = {1, 0.5, 10, 30, 15, 6, 0.5};
        const int action =
            std::discrete_distribution<int>(weights, weights + (ui.openModals() ? 3 : 7))(random) -
            1;
        // Entries keep pace with the day's hand-outs, each of which writes twice. Ahead of it,
        // the user names a buddy whose entry still waits, and is refused.
        const bool behind =
            handOuts() + items(ids::List1).size() < handOutsPerSecond * (now() - start);
        const int id = action == 3 || pick(2) ? ids::List2 : ids::List1;
        const auto entries = items(id), waiting = items(ids::List1);
        if (action == 0) toggle();
        if (action == -1) {
            CheckBox& hidden = main.checkBox(ids::vp);
            hidden.setValue(1 - hidden.value());
            if (main.textControl(ids::Label8).text() == "Set Back") toggle();
            toggle();
        }
        if (action == 2 && (behind || !waiting.empty())) {
            if (!extra()) main.click(ids::Label9);
            const std::string name = behind ? buddies[pick(std::ssize(buddies))]
                                            : readEntry(waiting[pick(std::ssize(waiting))]).key;
            const std::string message = "m" + std::to_string(++adds);
            ui.promptAnswers = {name, message};
            extra()->click(ids::add);
            waits(formEntry(name, message), 0);
        }
        // Re-queue while behind the day, or remove, a random entry.
        if (((action == 3 && behind) || action == 4) && !entries.empty()) {
            const int index = pick(std::ssize(entries));
            extra()->listBox(id).setSelected(index);
            if (action == 3) extra()->click(ids::addtowait);
            if (action == 3) waits(entries[index], ids::List2);
            if (action == 4) --expected[{id, readEntry(entries[index]).message}];
            if (action == 4) extra()->doubleClick(id);
        }
        if (action == 5 && extra()) {
            tally(-1);  // no handler of the window runs outside its boxes: the close goes through
            extra()->close();
            index.reset();  // it went with the window's list
        }
        // The scan's lookup, kept over the waiting list while the window lives as the scan's
        // is, finds what a walk of the list finds.
        if (!extra()) return;
        if (!index) index.emplace(extra()->listBox(ids::List1));
        const auto left = items(ids::List1);
        for (const std::string& buddy : buddies) {
            const auto walk = std::ranges::find(left, screenNameKey(buddy), &keyOf);
            EXPECT_EQ(index->checklist(screenName(buddy)).value_or(-1),
                      walk == left.end() ? -1 : walk - left.begin());
        }
    }
    static std::string keyOf(const std::string& entry) { return readEntry(entry).key; }
    // The user's add or re-queue moved `entry` into the waiting list from list `from` (0: none)
    // if the waiting list has it now: nothing runs between the append and this look.
    void waits(const std::string& entry, int from) {
        if (std::ranges::count(items(ids::List1), entry) == 0) return;
        ++expected[{ids::List1, readEntry(entry).message}];
        if (from != 0) --expected[{from, readEntry(entry).message}];
    }
    // Adds each entry of each list, times `sign`, to how often its message is expected there.
    void tally(int sign) {
        for (const int id : {ids::List1, ids::List2})
            for (const std::string& entry : items(id))
                expected[{id, readEntry(entry).message}] += sign;
    }

    ModelForm* extra() {
        const auto found = std::ranges::find(ui.forms(), "Extra", &ModelForm::caption);
        return found == ui.forms().end() ? nullptr : *found;
    }
    std::vector<std::string> items(int id) {
        std::vector<std::string> entries;
        for (int i = 0; extra() && i < extra()->listBox(id).count(); ++i)
            entries.push_back(extra()->listBox(id).item(i));
        return entries;
    }
    int pick(std::ptrdiff_t n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
};

TEST(Soak, ADayAwayLosesNothingAndRepeatsNothing) {
    const int hours = fromEnvironment("ZORVANE_SOAK_HOURS", 1);
    const auto seed = static_cast<unsigned>(fromEnvironment("ZORVANE_SOAK_SEED", 1));
    SCOPED_TRACE("ZORVANE_SOAK_SEED=" + std::to_string(seed));
    Day day(seed);
    day.run(hours);

    // Each hand-out moved its entry once and wrote its message, then the away message, into the
    // away dialog; what the lists hold is what the user and the hand-outs left there.
    const TextWrite* buddys = nullptr;  // the buddy's message in the away dialog
    for (const TextWrite& write : day.writes()) {
        if (write.window == day.hiddenEdit) continue;
        EXPECT_EQ(write.window, day.edit);
        const bool away = Day::general(write);
        if (buddys) {
            EXPECT_TRUE(away) << buddys->text << " was followed by " << write.text;
            EXPECT_GE(write.at - buddys->at, 0.5) << buddys->text << " left early";
            EXPECT_LE(write.at - buddys->at, Day::longest) << buddys->text << " left late";
        }
        buddys = away ? nullptr : &write;
        day.expected[{0, "away messages"}] += away ? 1 : -1;
        day.expected[{ids::List1, write.text}] -= !away;
        day.expected[{ids::List2, write.text}] += !away;
    }
    day.tally(-1);
    std::erase_if(day.expected, [](const auto& e) { return e.second == 0; });
    EXPECT_EQ(day.expected, decltype(day.expected){}) << "entries lost, repeated or misplaced";
    const std::size_t handOuts = day.handOuts();
    EXPECT_GE(handOuts, 0.9 * handOutsPerSecond * 3600 * hours);

    // Nothing piles up: no event but the repeating ones waits, one Extra window at most, and a
    // tick with nothing to hand out asks the window system nothing.
    EXPECT_LE(day.pendingEvents(), 4u);
    EXPECT_LE(day.ui.forms().size(), 2u);
    if (!day.extra()) day.main.click(ids::Label9);
    day.extra()->listBox(ids::List1).add("nobody-waits");
    if (day.main.textControl(ids::Label8).text() == "Set Away") day.toggle();
    day.main.tick(ids::Timer2);  // any hand-out left,
    day.main.tick(ids::Timer2);  // then the periodic full look
    const int before = day.windowQueries();
    day.main.tick(ids::Timer2);
    EXPECT_EQ(day.windowQueries() - before, 0);

    std::printf(
        "soak: %d h away, seed %u: %zu hand-outs, %zu expansions, %d user actions, %d "
        "entries offered\n",
        hours, seed, handOuts, day.writes().size() + day.openedUrls().size(), day.actions,
        day.adds);
}

}  // namespace
}  // namespace zorvane
