// A day away, compressed: over the in-memory desktop and its clock the two timers fire as they
// would, the IM client opens and closes instant-message windows at random, and wherever the
// pump runs the user does something at random (Set Back, Set Away, add an entry through the
// Extra window's prompts, re-queue, remove, close the Extra window). Afterwards no entry was
// handed out twice or lost, the counters agree with the expansions, and nothing grew.
//
// ZORVANE_SOAK_HOURS sets the length (1 by default; `make soak` runs 24) and ZORVANE_SOAK_SEED
// the seed; the figures and the seed are printed at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "buddies/buddylists.h"
#include "platform/model/model_desktop.h"
#include "platform/model/model_ui.h"
#include "windows/control_ids.h"
#include "windows/form1.h"

namespace zorvane {
namespace {

constexpr double scanPeriod = 0.2;  // Timer2: a hand-out's half-second wait holds two ticks
constexpr double minute = 60;       // Timer1
constexpr int handOutsPerDay = 1000;
constexpr int countdownStart = 30000;

int fromEnvironment(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

// Runs the user's action at every pump, and notes which pump an expansion's counters stepped
// before: the memory report pumps right after the step, then reads the memory status.
struct SoakDesktop : ModelDesktop {
    std::function<void(int depth)> onPump;
    std::function<void(int clicksBeforeStep)> onExpansion;
    int clicks = 0;  // of Set Away / Set Back, each of which resets the count-up
    int depth = 0;
    int clicksAtLastPump = 0;

    void pumpEvents() override {
        const int clicksAtEntry = clicks;
        ++depth;
        onPump(depth);
        ModelDesktop::pumpEvents();
        --depth;
        clicksAtLastPump = clicksAtEntry;
    }
    MemoryStatus memoryStatus() override {
        onExpansion(clicksAtLastPump);
        return ModelDesktop::memoryStatus();
    }
};

enum class Where { Waiting, HandedOut, Gone };

struct Figures {
    int handOuts = 0, refreshes = 0, expansions = 0, nestedActions = 0, topActions = 0;
    int adds = 0, refused = 0, requeues = 0, removals = 0, closes = 0, setBacks = 0;
    int imWindowsOpened = 0, maxDepth = 0;
    std::size_t maxEntries = 0;
};

class Soak {
  public:
    Soak(unsigned seed, int hours)
        : random_(seed),
          duration_(hours * 3600.0),
          target_(handOutsPerDay * hours / 24),
          start_(desktop_.now()) {
        desktop_.onPump = [this](int depth) { act(depth); };
        desktop_.onExpansion = [this](int clicksBeforeStep) {
            ++figures_.expansions;
            if (clicksBeforeStep == desktop_.clicks) ++countupSinceClick_;
        };
        ui_.whilePromptOpen = [this] { whileExtraIsModal(); };
        ui_.whileMessageBoxOpen = [this] { whileExtraIsModal(); };

        const WindowHandle dialog = desktop_.addWindow("#32770", "Away Message");
        edit_ =
            desktop_.addWindow("Ate32Class", "", desktop_.addWindow("WndAte32Class", "", dialog));
        for (int i = 0; i < 40; ++i)
            desktop_.addWindow("Other", "window " + std::to_string(i));
        main_.textControl(ids::awaym).setText("away %u min, back in %c min\r\n%m");
        main_.textControl(ids::countdown).setText(std::to_string(countdownStart));
        click(ids::Label8);
        repeat(scanPeriod, true, [this] { main_.tick(ids::Timer2); });
        repeat(minute, true, [this] {
            ++figures_.refreshes;
            main_.tick(ids::Timer1);
        });
        repeat(20, false, [this] { openImWindow(); });
        repeat(25, false, [this] { closeImWindow(); });
    }

    Figures run() {
        acting_ = true;  // from here on each pump at depth 1 is the day's own, between handlers
        while (figures_.refreshes < duration_ / minute && !::testing::Test::HasFailure()) {
            desktop_.advanceClock(scanPeriod - desktop_.pumpStep);
            desktop_.pumpEvents();
        }
        census();
        return figures_;
    }

    // Every entry handed out as often as it entered the waiting list and left it for the
    // completed one, each hand-out with its two writes; every expansion delivered and counted.
    void checkTheRecord() {
        std::map<std::string, int> writes;
        int awayMessages = 0;
        for (const TextWrite& write : desktop_.writes()) {
            EXPECT_EQ(write.window, edit_);
            if (write.text.starts_with("away ")) {
                ++awayMessages;
            } else {
                ++writes[write.text];
            }
        }
        EXPECT_EQ(writes, handOutsByMessage_);
        EXPECT_EQ(awayMessages, figures_.handOuts);
        EXPECT_EQ(figures_.expansions,
                  static_cast<int>(desktop_.writes().size() + desktop_.openedUrls().size()));
        EXPECT_GE(figures_.handOuts, target_ * 9 / 10);
    }

    // Nothing piles up: no event left behind, one Extra window at most, and a tick with nothing
    // to hand out asks a few questions per IM window, none per other window.
    void checkNothingGrew() {
        EXPECT_LE(desktop_.pendingEvents(), 4u);  // the repeating events above
        EXPECT_LE(ui_.forms().size(), 2u);
        acting_ = false;
        if (!extra()) click(ids::Label9);
        list(ids::List1).add("nobody-waits");
        if (main_.textControl(ids::Label8).text() == "Set Away") click(ids::Label8);
        for (int tick = 0; tick < 2; ++tick)  // any hand-out left, then the periodic full look
            main_.tick(ids::Timer2);
        const int before = desktop_.windowQueries();
        main_.tick(ids::Timer2);
        EXPECT_LE(desktop_.windowQueries() - before, 3 * static_cast<int>(imWindows_.size()));
    }

  private:
    // `event` every `period` seconds (a timer, nested in a wait too), or every `period` seconds
    // on average (the IM client acting on its own).
    void repeat(double period, bool timer, std::function<void()> event) {
        const double next = timer ? period : std::exponential_distribution<>(1 / period)(random_);
        desktop_.postAt(desktop_.now() + next, [this, period, timer, event] {
            repeat(period, timer, event);
            event();
        });
    }

    void openImWindow() {
        if (imWindows_.size() >= 12) return;
        const std::string& name = buddies_[pick(buddies_.size())];
        // Some creations go unreported; the periodic full look finds those windows.
        desktop_.reportCreations = pick(10) != 0;
        imWindows_.push_back(
            desktop_.addWindow("AIM_IMessage", pick(2) ? name + " - Instant Message" : name));
        desktop_.reportCreations = true;
        desktop_.bringToFront(imWindows_[pick(imWindows_.size())]);
        ++figures_.imWindowsOpened;
    }

    void closeImWindow() {
        if (imWindows_.empty()) return;
        const auto it = imWindows_.begin() + static_cast<long>(pick(imWindows_.size()));
        desktop_.removeWindow(*it);
        imWindows_.erase(it);
    }

    // The user, at a pump `depth` levels deep: once in a while at the top, always when nested.
    void act(int depth) {
        if (!acting_) return;
        figures_.maxDepth = std::max(figures_.maxDepth, depth);
        const bool idle = main_.textControl(ids::Label8).text() == "Set Away";
        if (depth == 1) {
            // No expansion is under way here: each one has stepped both counters once, and
            // Set Away and Set Back restart the count-up.
            EXPECT_EQ(main_.textControl(ids::countdown).text(),
                      std::to_string(countdownStart - figures_.expansions));
            EXPECT_EQ(main_.textControl(ids::countup).text(), std::to_string(countupSinceClick_));
            if (idle && pick(2)) return click(ids::Label8);  // back at the desk, away again
            if (pick(100) != 0) return;
        }
        ++(depth == 1 ? figures_.topActions : figures_.nestedActions);
        census();
        // While one of the Extra window's prompts or boxes is open, that window takes no clicks.
        enum Action { Toggle, Nothing, Add, Requeue, Remove, Close };
        static constexpr double weights[] = {1, 10, 30, 15, 6, 0.5};
        std::discrete_distribution<int> choose(weights, weights + (extraModal_ > 0 ? 2 : 6));
        switch (choose(random_)) {
            case Toggle:
                figures_.setBacks += idle ? 0 : 1;
                click(ids::Label8);
                break;
            case Add:
                add();
                break;
            case Requeue:
                requeue();
                break;
            case Remove:
                remove();
                break;
            case Close:
                closeExtra();
                break;
            default:
                break;
        }
        census();
    }

    void click(int id) {
        if (id == ids::Label8) {
            ++desktop_.clicks;
            countupSinceClick_ = 0;
        }
        main_.click(id);
    }

    void whileExtraIsModal() {
        // Hooks run once; this one stays for the next prompt or box.
        ui_.whilePromptOpen = [this] { whileExtraIsModal(); };
        ui_.whileMessageBoxOpen = [this] { whileExtraIsModal(); };
        ++extraModal_;
        for (std::size_t pumps = pick(4); pumps > 0; --pumps)
            desktop_.pumpEvents();
        --extraModal_;
    }

    // Entries keep pace with the day's hand-outs.
    bool behind() {
        const double planned = target_ * (desktop_.now() - start_) / duration_;
        return figures_.handOuts + (extra() ? list(ids::List1).count() : 0) < planned;
    }

    void add() {
        if (!extra()) click(ids::Label9);
        ListBox& waiting = list(ids::List1);
        const bool behind = this->behind();
        if (!behind && waiting.count() == 0) return;
        // Ahead of the day, the user names a buddy whose entry still waits, and is refused.
        const std::string name = behind ? buddies_[pick(buddies_.size())]
                                        : readEntry(waiting.item(pick(waiting.count()))).key;
        const std::string message = "m" + std::to_string(++serial_);
        const std::string entry = formEntry(name, message);
        ui_.promptAnswers = {name, message};
        extra()->click(ids::add);
        // The list is read after both prompts and nothing runs after the append.
        ++figures_.adds;
        if (position(ids::List1, entry)) {
            ledger_[entry] = Where::Waiting;
        } else {
            ++figures_.refused;
        }
    }

    void requeue() {
        if (!behind() || !extra() || list(ids::List2).count() == 0) return;
        const int index = static_cast<int>(pick(list(ids::List2).count()));
        const std::string entry = list(ids::List2).item(index);
        list(ids::List2).setSelected(index);
        extra()->click(ids::addtowait);
        if (position(ids::List1, entry)) {
            ledger_[entry] = Where::Waiting;
            ++figures_.requeues;
        }
    }

    void remove() {
        if (!extra()) return;
        const int id = pick(2) ? ids::List1 : ids::List2;
        if (list(id).count() == 0) return;
        const int index = static_cast<int>(pick(list(id).count()));
        ledger_[list(id).item(index)] = Where::Gone;
        list(id).setSelected(index);
        extra()->doubleClick(id);
        ++figures_.removals;
    }

    void closeExtra() {
        if (!extra()) return;
        extra()->close();
        if (extra()) return;  // refused while one of its handlers runs
        for (auto& [entry, where] : ledger_)
            where = Where::Gone;
        ++figures_.closes;
    }

    // Each entry the ledger holds is in the list it says, once; the only move nobody asked for
    // is a hand-out, from the waiting list to the completed one.
    void census() {
        std::map<std::string, int> seen;
        std::size_t entries = 0;
        for (const auto& [id, where] :
             {std::pair{ids::List1, Where::Waiting}, std::pair{ids::List2, Where::HandedOut}}) {
            if (!extra()) break;
            for (int i = 0; i < list(id).count(); ++i) {
                const std::string entry = list(id).item(i);
                ++entries;
                EXPECT_EQ(++seen[entry], 1) << entry << " twice";
                const auto it = ledger_.find(entry);
                if (it == ledger_.end() || it->second == Where::Gone) {
                    ADD_FAILURE() << entry << " is back";
                } else if (it->second == Where::Waiting && where == Where::HandedOut) {
                    it->second = Where::HandedOut;
                    ++handOutsByMessage_[readEntry(entry).message];
                    ++figures_.handOuts;
                } else {
                    EXPECT_EQ(it->second, where) << entry << " moved back";
                }
            }
        }
        std::erase_if(ledger_, [](const auto& e) { return e.second == Where::Gone; });
        EXPECT_EQ(ledger_.size(), entries) << "an entry was lost";
        figures_.maxEntries = std::max(figures_.maxEntries, entries);
    }

    ModelForm* extra() {
        for (ModelForm* form : ui_.forms()) {
            if (form->caption() == "Extra") return form;
        }
        return nullptr;
    }
    ListBox& list(int id) { return extra()->listBox(id); }
    std::optional<int> position(int id, std::string_view entry) {
        for (int i = 0; i < list(id).count(); ++i) {
            if (list(id).item(i) == entry) return i;
        }
        return std::nullopt;
    }
    std::size_t pick(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
    }

    std::mt19937 random_;
    const double duration_;
    const int target_;
    SoakDesktop desktop_;
    const double start_;
    ModelUi ui_;
    Form1 form1_{ui_, desktop_};
    ModelForm& main_ = ui_.form("Zorvane v1.0");
    WindowHandle edit_ = 0;
    const std::vector<std::string> buddies_{
        "Jo Ann", "bob",     "Carl X", "DANA", "eve", "Frank N Stein", "gil",  "Hana",
        "ivo",    "Jules V", "kim",    "Lou",  "moe", "Nell",          "ozzy", "Pia"};
    std::vector<WindowHandle> imWindows_;
    std::map<std::string, Where> ledger_;
    std::map<std::string, int> handOutsByMessage_;
    Figures figures_;
    int countupSinceClick_ = 0;
    int extraModal_ = 0;
    int serial_ = 0;
    bool acting_ = false;
};

TEST(Soak, ADayAwayLosesNothingAndRepeatsNothing) {
    const int hours = fromEnvironment("ZORVANE_SOAK_HOURS", 1);
    const auto seed = static_cast<unsigned>(fromEnvironment("ZORVANE_SOAK_SEED", 1));
    SCOPED_TRACE("ZORVANE_SOAK_SEED=" + std::to_string(seed));
    const auto began = std::chrono::steady_clock::now();
    Soak soak(seed, hours);
    const Figures f = soak.run();
    soak.checkTheRecord();
    soak.checkNothingGrew();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - began;
    std::printf(
        "soak: %d h away, seed %u: %d hand-outs, %d refreshes, %d expansions, %d nested and %d "
        "top-level user actions (%d adds, %d refused, %d re-queues, %d removals, %d Extra "
        "windows closed, %d Set Backs), %d IM windows opened, pumps nested %d deep, at most %zu "
        "entries; %.1f s\n",
        hours, seed, f.handOuts, f.refreshes, f.expansions, f.nestedActions, f.topActions, f.adds,
        f.refused, f.requeues, f.removals, f.closes, f.setBacks, f.imWindowsOpened, f.maxDepth,
        f.maxEntries, took.count());
}

}  // namespace
}  // namespace zorvane
