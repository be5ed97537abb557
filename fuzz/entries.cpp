// Entries and screen names: an entry reads back as it was formed, a key never holds a space or
// an upper-case letter, List1 never holds one key twice, and checklist finds exactly the entry
// whose key matches, however the list changed since the last lookup.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <optional>

#include "buddies/buddylists.h"
#include "check.h"
#include "platform/model/model_controls.h"

using namespace zorvane;

namespace {

std::string asciiCase(std::string_view text, char from, char to) {
    std::string out(text);
    for (char& c : out) {
        if (c >= from && c <= from + 25) c = static_cast<char>(c - from + to);
    }
    return out;
}

std::optional<int> firstWithKey(const ListBox& list, std::string_view key) {
    for (int i = 0; i < list.count(); ++i) {
        if (readEntry(list.item(i)).key == key) return i;
    }
    return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string sn = input.ConsumeRandomLengthString(24);
    ModelListBox list1;
    WaitingIndex waiting(list1);
    int refusals = 0;
    const auto countRefusal = [&](std::string_view, std::string_view) { ++refusals; };
    while (input.remaining_bytes() > 0) {
        const std::string name = input.ConsumeRandomLengthString(24);
        const std::string message = input.ConsumeRandomLengthString(48);

        const std::string key = screenNameKey(name);
        require(holdsNo(key, ' ') && key == asciiCase(key, 'A', 'a'),
                "a key: no space, no capital");
        require(key.size() + std::ranges::count(name, ' ') == name.size(), "only spaces go");

        const std::string entry = formEntry(name, message);
        const EntryParts parts = readEntry(entry);
        if (holdsNo(name, '-')) {
            require(parts.key == key && parts.message == message, "an entry reads back");
        } else {
            require(holdsNo(parts.key, '-') && parts.key + '-' + parts.message == entry,
                    "a dash in the name cuts the key there");
        }

        const bool queued = firstWithKey(list1, parts.key).has_value();
        const int before = refusals;
        require(addlist(list1, entry, countRefusal) != queued && (refusals > before) == queued,
                "addlist refuses exactly a key that waits already");
        if (input.ConsumeBool() && list1.count() > 0)
            list1.remove(input.ConsumeIntegralInRange(0, list1.count() - 1));
        require(waiting.checklist(parts.key) == firstWithKey(list1, parts.key),
                "the index follows every change of the list");
    }

    for (int i = 0; i < list1.count(); ++i) {
        const std::string key = readEntry(list1.item(i)).key;
        require(waiting.checklist(key) == i && waiting.checklist(asciiCase(key, 'a', 'A')) == i,
                "checklist finds every waiting entry by its key, in any case");
    }
    const auto found = waiting.checklist(sn);
    require(found == firstWithKey(list1, asciiCase(sn, 'A', 'a')), "checklist: the matching key");
    require(!found || holdsNo(sn, ' '), "a name that still holds a space never matches");
    return 0;
}
