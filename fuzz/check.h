#pragma once
// What the fuzz targets share: a failed invariant aborts, so libFuzzer keeps the input.

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace zorvane {

inline void require(bool holds, const char* invariant) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", invariant);
    std::abort();
}

inline bool holdsNo(std::string_view text, char c) { return text.find(c) == text.npos; }

}  // namespace zorvane
