#include "text/number.h"

#include <charconv>
#include <cmath>

namespace zorvane {

std::string formatDecimal(double value, std::string_view decimalSeparator) {
    if (value == 0 || !std::isfinite(value)) return "0";
    // Scientific form with 15 significant digits gives the rounded digits and where the point
    // goes; the digits are then laid out in plain positional form.
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14).ptr;
    const std::string_view scientific(buffer, end - buffer);
    const std::size_t e = scientific.find('e');
    const bool negative = scientific.front() == '-';
    std::string digits(scientific.substr(negative ? 1 : 0, e - (negative ? 1 : 0)));
    std::erase(digits, '.');
    digits.erase(digits.find_last_not_of('0') + 1);
    std::string_view exponentText = scientific.substr(e + 1);
    if (exponentText.front() == '+') exponentText.remove_prefix(1);
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

    std::string whole;
    std::string fraction;
    if (exponent < 0) {
        whole = "0";
        fraction = std::string(-exponent - 1, '0') + digits;
    } else if (static_cast<std::size_t>(exponent) < digits.size()) {
        whole = digits.substr(0, exponent + 1);
        fraction = digits.substr(exponent + 1);
    } else {
        whole = digits + std::string(exponent + 1 - digits.size(), '0');
    }
    std::string result = negative ? "-" : "";
    result += whole;
    if (!fraction.empty()) result.append(decimalSeparator).append(fraction);
    return result;
}

}  // namespace zorvane
