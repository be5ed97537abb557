#pragma once
// The per-buddy lists: List1 holds the entries still waiting to be handed out, List2 the ones
// handed out. An entry is "<screen-name key>-<message>". The rules work on any ListBox, so the
// Extra window's list boxes and the in-memory ones of the tests run the same code.
//
// Nothing here keeps a position or an entry across a call: every rule reads the lists when it
// acts, because timer ticks (and so hand-outs) keep running while a message box is open. The
// index of waiting keys checks the list's change count at every lookup.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/controls.h"

namespace zorvane {

// Shows a message box with an OK button only; returns when the user has closed it. The window
// that owns the lists provides it.
using ShowMessageBox = std::function<void(std::string_view text, std::string_view title)>;

inline constexpr std::string_view messageBoxTitle = "Zorvane";
inline constexpr std::string_view duplicateKeyText = "one message per screen name";
inline constexpr std::string_view listFullText = "The waiting list is full (32767 entries).";
// Positions are 16-bit on the Extra window's side; addlist keeps List1 within them.
inline constexpr int maxWaitingEntries = 32767;

// Every space (U+0020) removed, then A-Z lower-cased. Other letters stay as typed: the same rule
// runs on keys and on looked-up names, so they still meet.
std::string screenNameKey(std::string_view screenName);

// The entry for a buddy as the user typed it: key, "-", then the message unchanged.
std::string formEntry(std::string_view screenName, std::string_view message);

struct EntryParts {
    std::string key;      // the text before the first "-"; the whole entry when it has none
    std::string message;  // all the text after the first "-"; empty when there is none
};
EntryParts readEntry(std::string_view entry);

// Appends `mess` to `list` unless an entry with the same key is there already, or the list is
// full; either refusal shows its message box and leaves the list as it was. True when appended.
bool addlist(ListBox& list, std::string_view mess, const ShowMessageBox& showMessageBox);

// The lookup in List1, which the scan makes for every IM window at every tick: the keys are
// read once for each change of the list, so that a lookup costs the same however many entries
// wait. The list's own change count says when to read them again; so whoever changes the list,
// and however often it changes under a prompt or message box, no lookup ever answers from keys
// of an earlier list. Kept beside List1, it must not outlive it.
class WaitingIndex {
  public:
    explicit WaitingIndex(const ListBox& list1) : list1_(list1) {}

    // The position of the first entry whose key equals `sn` lower-cased. Its spaces are kept:
    // the caller removes them, and a name that still holds one never matches.
    std::optional<int> checklist(std::string_view sn);

  private:
    const ListBox& list1_;
    std::optional<std::uint64_t> readAt_;  // the list's change count when the keys were read
    std::unordered_map<std::string, int> positions_;
};

// Moves entry `position` of List1 to the end of List2: read, append, then remove, so the entry
// is never in neither list. Returns the entry; none when there is no such position.
std::optional<std::string> handout(ListBox& list1, ListBox& list2, int position);

// The "<" button: the selected List2 entry goes back into List1 through addlist. It leaves List2
// only when List1 took it; with nothing selected nothing happens.
void requeue(ListBox& list1, ListBox& list2, const ShowMessageBox& showMessageBox);

// A double-click on a list: its selected entry goes; with nothing selected nothing happens.
void removeSelected(ListBox& list);

}  // namespace zorvane
