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
        if (text[i] == '%' && i + 2 < text.size() &&
            std::from_chars(&text[i + 1], &text[i + 3], byte, 16).ptr == &text[i + 3]) {
            decoded += static_cast<char>(byte);
            i += 2;
        } else {
            decoded += text[i] == '+' ? ' ' : text[i];
        }
    }
    return decoded;
}

}  // namespace zorvane
