#pragma once
// What the IM client makes of an away command's message: "+" is a space, %XX the byte XX.

#include <charconv>
#include <string>
#include <string_view>

namespace zorvane {

inline std::string formDecode(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned byte = 0;
        const bool escaped =
            text[i] == '%' && i + 2 < text.size() &&
            std::from_chars(&text[i + 1], &text[i + 3], byte, 16).ptr == &text[i + 3];
        decoded += escaped ? static_cast<char>(byte) : text[i] == '+' ? ' ' : text[i];
        i += escaped ? 2 : 0;
    }
    return decoded;
}

}  // namespace zorvane
