#include "text/number.h"

#include <charconv>

#include "text/replace.h"

namespace zorvane {

std::string formatDecimal(double value, std::string_view decimalSeparator) {
    // The general form at 15 digits drops trailing zeros, and needs an exponent only from 10^15
    // on: far beyond any memory figure in megabytes.
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
    return replaceAll(std::string_view(buffer, end - buffer), ".", decimalSeparator);
}

}  // namespace zorvane
