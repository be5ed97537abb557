#include <cmath>

#include "messages/awaymessage.h"
#include "text/number.h"

namespace zorvane {
namespace {

// Megabytes to one decimal place, halves upward. The divisor is the program's own, not 2^20.
double megabytes(std::uint64_t bytes) {
    return std::floor(static_cast<double>(bytes) / 1044032 * 10 + 0.5) / 10;
}

}  // namespace

std::string memorystats(Desktop& desktop) {
    const MemoryStatus status = desktop.memoryStatus();
    const double total = megabytes(status.totalPhys);
    const double available = megabytes(status.availPhys);
    // From the rounded figures, so the line agrees with itself; no total means no share.
    const double percent = total == 0 ? 0 : std::floor(available / total * 100);
    const std::string separator = desktop.decimalSeparator();
    return "Physical Mem Free: " + formatDecimal(available, separator) + " MB of " +
           formatDecimal(total, separator) + " MB (" + formatDecimal(percent, separator) + "%)";
}

}  // namespace zorvane
