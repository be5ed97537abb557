#pragma once

#include <string>
#include <string_view>

namespace zorvane {

// Every occurrence of `from`, left to right, non-overlapping, exact and case-sensitive; the
// inserted text is not scanned again. An empty `from` changes nothing.
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace zorvane
