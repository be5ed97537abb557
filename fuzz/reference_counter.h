#pragma once
// The counter grammar read a second way, for clarity rather than speed: trim the blanks, take
// the sign, split at the separator; both sides digits only, at least one digit in all.

#include <cstdint>
#include <expected>
#include <string>
#include <string_view>

#include "messages/counters.h"

namespace zorvane {

// Decimal separators as locales have them: one byte or several, never a digit, blank or sign.
inline constexpr std::string_view separators[] = {".", ",", "\xD9\xAB"};

inline std::expected<std::int16_t, CounterError> referenceCounter(std::string_view text,
                                                                  std::string_view separator) {
    const auto nan = std::unexpected(CounterError::NotANumber);
    const auto first = text.find_first_not_of(" \t");
    if (first == text.npos) return nan;
    text = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) text.remove_prefix(1);
    const auto at = text.find(separator);
    std::string_view whole = text.substr(0, at);
    std::string_view fraction = at == text.npos ? "" : text.substr(at + separator.size());
    const auto digitsOnly = [](std::string_view s) {
        return s.find_first_not_of("0123456789") == s.npos;
    };
    if (!digitsOnly(whole) || !digitsOnly(fraction) || whole.size() + fraction.size() == 0) {
        return nan;
    }
    whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
    if (whole.size() > 5) return std::unexpected(CounterError::OutOfRange);
    long value = whole.empty() ? 0 : std::stol(std::string(whole));
    // Compare the fraction with one half as text: "5" is a half, anything above it more.
    fraction = fraction.substr(0, fraction.find_last_not_of('0') + 1);
    if (fraction > "5" || (fraction == "5" && value % 2 == 1)) ++value;
    if (negative) value = -value;
    if (value < INT16_MIN || value > INT16_MAX) return std::unexpected(CounterError::OutOfRange);
    return static_cast<std::int16_t>(value);
}

}  // namespace zorvane
