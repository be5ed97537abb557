#pragma once
// UTF-8 is the program's own text; UTF-16 is what Windows speaks. These convert at the edge.

#include <cstddef>
#include <string>
#include <string_view>

namespace zorvane {

// Malformed input (a stray byte, a lone surrogate) becomes U+FFFD; nothing is dropped silently.
std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);

// The first `maxUnits` UTF-16 units of `text`, one fewer if the cut would split a surrogate pair.
std::u16string_view firstUtf16Units(std::u16string_view text, std::size_t maxUnits);

// How many UTF-16 units `utf8` takes on its way to Windows.
std::size_t utf16Length(std::string_view utf8);

}  // namespace zorvane
