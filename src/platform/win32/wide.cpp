#include "platform/win32/wide.h"

#include "text/utf.h"

namespace zorvane::win32 {

// On Windows wchar_t is a UTF-16 unit, so the two string types share their layout.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring widen(std::string_view utf8) {
    const std::u16string wide = toUtf16(utf8);
    return {wide.begin(), wide.end()};
}

std::string narrow(std::wstring_view utf16) {
    return toUtf8(
        std::u16string_view(reinterpret_cast<const char16_t*>(utf16.data()), utf16.size()));
}

std::wstring wideWindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

}  // namespace zorvane::win32
