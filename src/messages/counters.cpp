#include "messages/counters.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace zorvane {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view takeDigits(std::string_view& rest) {
    std::size_t n = 0;
    while (n < rest.size() && isDigit(rest[n]))
        ++n;
    const std::string_view digits = rest.substr(0, n);
    rest.remove_prefix(n);
    return digits;
}

// Any magnitude past this is out of range whatever the rounding; capping keeps long digit
// strings from overflowing.
constexpr long capped = 100000;

}  // namespace

std::expected<std::int16_t, CounterError> parseCounter(std::string_view text,
                                                       std::string_view decimalSeparator) {
    std::string_view rest = text;
    while (!rest.empty() && isBlank(rest.front()))
        rest.remove_prefix(1);
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    const std::string_view whole = takeDigits(rest);
    std::string_view fraction;
    if (!decimalSeparator.empty() && rest.starts_with(decimalSeparator)) {
        rest.remove_prefix(decimalSeparator.size());
        fraction = takeDigits(rest);
    }
    while (!rest.empty() && isBlank(rest.back()))
        rest.remove_suffix(1);
    if (!rest.empty() || (whole.empty() && fraction.empty())) {
        return std::unexpected(CounterError::NotANumber);
    }

    long magnitude = 0;
    for (const char digit : whole) {
        magnitude = std::min(magnitude * 10 + (digit - '0'), capped);
    }
    // Round on the decimal digits themselves, so no binary fraction blurs an exact half.
    if (!fraction.empty()) {
        const char first = fraction.front();
        const bool beyondHalf = fraction.find_first_not_of('0', 1) != std::string_view::npos;
        if (first > '5' || (first == '5' && (beyondHalf || magnitude % 2 == 1))) ++magnitude;
    }
    const long value = negative ? -magnitude : magnitude;
    if (value < INT16_MIN || value > INT16_MAX) return std::unexpected(CounterError::OutOfRange);
    return static_cast<std::int16_t>(value);
}

std::string formatCounter(std::int16_t value) { return std::to_string(value); }

}  // namespace zorvane
