#include "text/utf.h"

#include <gtest/gtest.h>

namespace zorvane {
namespace {

TEST(Utf, RoundTripsEveryPlane) {
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB5";  // a é € 🎵
    const std::u16string wide = toUtf16(text);
    EXPECT_EQ(wide, (std::u16string{u'a', 0x00E9, 0x20AC, 0xD83C, 0xDFB5}));
    EXPECT_EQ(toUtf8(wide), text);
    EXPECT_EQ(utf16Length(text), 5u);
}

TEST(Utf, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(toUtf16("a\xFF"
                      "b"),
              (std::u16string{u'a', 0xFFFD, u'b'}));
    EXPECT_EQ(toUtf16("\xC3"), std::u16string{0xFFFD});                // cut short
    EXPECT_EQ(toUtf16("\xC0\xAF"), std::u16string{0xFFFD});            // overlong
    EXPECT_EQ(toUtf8(std::u16string{0xD800, u'x'}), "\xEF\xBF\xBDx");  // lone surrogate
    EXPECT_EQ(toUtf16(std::string("a\0b", 3)), (std::u16string{u'a', 0, u'b'}));
}

TEST(Utf, CutNeverSplitsASurrogatePair) {
    const std::u16string text{u'a', 0xD83C, 0xDFB5, u'b'};
    EXPECT_EQ(firstUtf16Units(text, 1), u"a");
    EXPECT_EQ(firstUtf16Units(text, 2), u"a");  // would split the pair
    EXPECT_EQ(firstUtf16Units(text, 3), text.substr(0, 3));
    EXPECT_EQ(firstUtf16Units(text, 10), text);
    EXPECT_EQ(firstUtf16Units(text, 0), u"");
}

}  // namespace
}  // namespace zorvane
