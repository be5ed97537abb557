#include "buddies/buddylists.h"

namespace zorvane {
namespace {

// ASCII only: locale-free, and it never touches the bytes of a multi-byte UTF-8 character.
std::string lowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

std::string_view keyOf(std::string_view entry) { return entry.substr(0, entry.find('-')); }

bool holdsPosition(const ListBox& list, int position) {
    return position >= 0 && position < list.count();
}

}  // namespace

std::string screenNameKey(std::string_view screenName) {
    std::string key;
    for (char c : screenName) {
        if (c != ' ') key += c;
    }
    return lowerCase(key);
}

std::string formEntry(std::string_view screenName, std::string_view message) {
    std::string entry = screenNameKey(screenName);
    entry += '-';
    entry += message;
    return entry;
}

EntryParts readEntry(std::string_view entry) {
    const auto dash = entry.find('-');
    if (dash == std::string_view::npos) return {std::string(entry), {}};
    return {std::string(entry.substr(0, dash)), std::string(entry.substr(dash + 1))};
}

bool addlist(ListBox& list, std::string_view mess, const ShowMessageBox& showMessageBox) {
    const std::string_view key = keyOf(mess);
    for (int i = 0; i < list.count(); ++i) {
        if (keyOf(list.item(i)) == key) {
            showMessageBox(duplicateKeyText, messageBoxTitle);
            return false;
        }
    }
    if (list.count() >= maxWaitingEntries) {
        showMessageBox(listFullText, messageBoxTitle);
        return false;
    }
    list.add(mess);
    return true;
}

std::optional<int> WaitingIndex::checklist(std::string_view sn) {
    if (const std::uint64_t changes = list1_.changes(); readAt_ != changes) {
        positions_.clear();
        for (int i = 0; i < list1_.count(); ++i)
            positions_.try_emplace(std::string(keyOf(list1_.item(i))), i);  // the first stays
        readAt_ = changes;
    }
    const auto found = positions_.find(lowerCase(sn));
    if (found == positions_.end()) return std::nullopt;
    return found->second;
}

std::optional<std::string> handout(ListBox& list1, ListBox& list2, int position) {
    if (!holdsPosition(list1, position)) return std::nullopt;
    std::string entry = list1.item(position);
    list2.add(entry);
    list1.remove(position);
    return entry;
}

void requeue(ListBox& list1, ListBox& list2, const ShowMessageBox& showMessageBox) {
    if (!holdsPosition(list2, list2.selected())) return;
    if (!addlist(list1, list2.item(list2.selected()), showMessageBox)) return;
    // Read again: List2 may have changed while addlist ran; a hand-out only appends to it, so
    // the selection still names the entry that was re-queued.
    removeSelected(list2);
}

void removeSelected(ListBox& list) {
    const int selected = list.selected();
    if (holdsPosition(list, selected)) list.remove(selected);
}

}  // namespace zorvane
