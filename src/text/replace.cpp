#include "text/replace.h"

namespace zorvane {

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(text);
    std::string result;
    result.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t found = 0; (found = text.find(from, start)) != std::string_view::npos;) {
        result.append(text, start, found - start).append(to);
        start = found + from.size();
    }
    result.append(text, start);
    return result;
}

}  // namespace zorvane
