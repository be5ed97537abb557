#pragma once
// The two minute counters live as text in the main window's `countdown` and `countup` boxes;
// every use reads the text, and every change writes plain decimal back.

#include <cstdint>
#include <expected>
#include <string>
#include <string_view>

namespace zorvane {

enum class CounterError {
    NotANumber,  // empty, or not the grammar below
    OutOfRange,  // outside -32768..32767, or a step would leave that range
};

// Optional blanks (space, tab), an optional sign, digits with an optional fraction after the
// user's decimal separator (".5" counts), optional blanks. A fraction rounds to the nearest
// whole number, halves to even. No exponent, grouping, hex or currency.
std::expected<std::int16_t, CounterError> parseCounter(std::string_view text,
                                                       std::string_view decimalSeparator);

std::string formatCounter(std::int16_t value);

}  // namespace zorvane
