// UTF-8 <-> UTF-16 at the Windows edge: every scalar value against glibc's iconv, and the
// malformed input that iconv refuses.
#include <gtest/gtest.h>
#include <iconv.h>

#include <bit>
#include <memory>
#include <tuple>
#include <vector>

#include "text/utf.h"

namespace zorvane {
namespace {

// What glibc makes of `text` in the encoding `converter` was opened for; empty if it fails.
template <typename Unit, std::size_t size>
std::basic_string_view<Unit> viaIconv(iconv_t converter, std::u32string_view text,
                                      Unit (&out)[size]) {
    static_assert(std::endian::native == std::endian::little);
    char* in = reinterpret_cast<char*>(const_cast<char32_t*>(text.data()));
    char* written = reinterpret_cast<char*>(out);
    std::size_t inLeft = text.size() * sizeof(char32_t), outLeft = sizeof out;
    if (iconv(converter, &in, &inLeft, &written, &outLeft) == std::size_t(-1)) return {};
    return {out, (sizeof out - outLeft) / sizeof(Unit)};
}

TEST(Utf, EveryScalarValueBothWaysAsGlibcConvertsIt) {
    using Converter = std::unique_ptr<void, int (*)(iconv_t)>;
    const Converter to8(iconv_open("UTF-8", "UTF-32LE"), iconv_close);
    const Converter to16(iconv_open("UTF-16LE", "UTF-32LE"), iconv_close);
    std::u32string all;
    for (char32_t cp = 0; cp <= 0x10FFFF; cp = cp == 0xD7FF ? 0xE000 : cp + 1)
        all += cp;
    // A block of values at a time: one by one takes three times as long under the sanitizers.
    constexpr std::size_t block = 128;
    char bytes[4 * block];
    char16_t units[2 * block];
    for (std::size_t at = 0; at < all.size(); at += block) {
        const auto values = std::u32string_view(all).substr(at, block);
        const auto utf8 = viaIconv(to8.get(), values, bytes);
        const auto utf16 = viaIconv(to16.get(), values, units);
        const std::u16string ours = toUtf16(utf8);
        ASSERT_TRUE(!utf8.empty() && ours == utf16 && toUtf8(ours) == utf8)
            << std::hex << "U+" << unsigned(values.front()) << " and the " << block - 1 << " after";
    }
}

TEST(Utf, EachMalformedSequenceBecomesOneReplacementCharacter) {
    const std::pair<std::string_view, std::u16string_view> fromUtf8[] = {
        // Stray continuation bytes, bytes that never lead, overlong forms, encoded surrogates.
        {"x\xBF\x80|\xFE\xFF", u"x\uFFFD\uFFFD|\uFFFD\uFFFD"},
        {"\xC0\xAF|\xC1\xBF|\xE0\x80\x80|\xE0\x9F\xBF", u"\uFFFD|\uFFFD|\uFFFD|\uFFFD"},
        {"\xF0\x8F\xBF\xBF|\xED\xA0\x80|\xED\xBF\xBF", u"\uFFFD|\uFFFD|\uFFFD"},
        {"\xED\xA0\xBD\xED\xB8\x80", u"\uFFFD\uFFFD"},  // a pair encoded one by one
        // Past U+10FFFF.
        {"\xF4\x90\x80\x80|\xF7\xBF\xBF\xBF", u"\uFFFD|\uFFFD"},
        {"\xF8\x88\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},  // no five-byte form
        // Cut short by the end of the text, though the buffer goes on.
        {std::string_view("\xC3\xA9", 1), u"\uFFFD"},
        {std::string_view("x\xE2\x82\xAC", 3), u"x\uFFFD"},
        {std::string_view("\xF0\x9F\x8E\xB5", 3), u"\uFFFD"},
        // Cut short in the middle: the byte that cut it starts afresh.
        {"\xC3x\xE2\x82|\xF0\x9F\x8E\xC3\xA9", u"\uFFFDx\uFFFD|\uFFFD\u00E9"},
        {"\xE2\xF0\x9F\x8E\xB5", u"\uFFFD\U0001F3B5"},
    };
    for (const auto& [utf8, utf16] : fromUtf8) {
        EXPECT_EQ(toUtf16(utf8), utf16) << utf8;
        EXPECT_EQ(utf16Length(utf8), utf16.size()) << utf8;
    }
    // Each with firstUtf16Units' length when cut at 0, 1, ... size units.
    using Cuts = std::vector<std::size_t>;
    const std::tuple<std::u16string_view, std::string_view, Cuts> fromUtf16[] = {
        {u"\xD800x", "\uFFFDx", {0, 1, 2}},                         // lone surrogates
        {std::u16string_view(u"\U00010000", 1), "\uFFFD", {0, 1}},  // its pair past the end
        {u"\xDC00\xDC00", "\uFFFD\uFFFD", {0, 1, 2}},
        {u"\xDFFF\xDBFF", "\uFFFD\uFFFD", {0, 1, 2}},  // reversed
        {u"\xD800\xD800\xDC00", "\uFFFD\U00010000", {0, 1, 1, 3}},
        {u"\xDBFF\xDFFF\xDFFF", "\U0010FFFF\uFFFD", {0, 0, 2, 3}},
    };
    for (const auto& [utf16, utf8, cuts] : fromUtf16) {
        EXPECT_EQ(toUtf8(utf16), utf8) << utf8;
        for (std::size_t n = 0; n < cuts.size(); ++n)
            EXPECT_EQ(firstUtf16Units(utf16, n).size(), cuts[n]) << utf8 << " cut at " << n;
    }
}

}  // namespace
}  // namespace zorvane
