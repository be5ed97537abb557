#pragma once

#include <string>
#include <string_view>

namespace zorvane {

// A number as the user's locale shows a double: at most 15 significant digits, no trailing
// zeros, the separator only when there is a fraction, no grouping.
std::string formatDecimal(double value, std::string_view decimalSeparator);

}  // namespace zorvane
