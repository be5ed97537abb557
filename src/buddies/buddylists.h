#pragma once
// The per-buddy lists: List1 holds the entries still waiting to be handed out, List2 the ones
// handed out. An entry is "<screen-name key>-<message>". The rules work on any ListBox, so the
// Extra window's list boxes and the in-memory ones of the tests run the same code.
//
// Nothing here keeps a position or an entry across a call: every rule reads the lists when it
// acts, because timer ticks (and so hand-outs) keep running while a message box is open.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

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

// The position in List1 of the entry waiting for `sn`. `sn` is lower-cased, but its spaces are
// kept: the caller removes them, and a name that still holds one never matches.
std::optional<int> checklist(const ListBox& list1, std::string_view sn);

// Moves entry `position` of List1 to the end of List2: read, append, then remove, so the entry
// is never in neither list. Returns the entry; none when there is no such position.
std::optional<std::string> handout(ListBox& list1, ListBox& list2, int position);

// The "<" button: the selected List2 entry goes back into List1 through addlist. It leaves List2
// only when List1 took it; with nothing selected nothing happens.
void requeue(ListBox& list1, ListBox& list2, const ShowMessageBox& showMessageBox);

// A double-click on a list: its selected entry goes; with nothing selected nothing happens.
void removeSelected(ListBox& list);

}  // namespace zorvane
