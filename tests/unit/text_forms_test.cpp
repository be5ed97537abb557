#include <gtest/gtest.h>

#include "messages/awaymessage.h"
#include "text/number.h"
#include "text/replace.h"

namespace zorvane {
namespace {

TEST(ReplaceAll, ExactLeftToRightNonOverlappingNotRescanned) {
    struct Case {
        std::string text, from, to, expected;
    };
    const Case cases[] = {
        {"a %c b %c", "%c", "4", "a 4 b 4"},
        {"aaa", "aa", "b", "ba"},
        {"ab", "a", "aa", "aab"},
        {"%%cc", "%c", "%c", "%%cc"},
        {"%C %c", "%c", "1", "%C 1"},
        {"x - Winamp - Winamp", "- Winamp", "", "x  "},
        {"", "%c", "1", ""},
        {"abc", "", "x", "abc"},
        {std::string("a\0b", 3), std::string("\0", 1), "-", "a-b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(replaceAll(c.text, c.from, c.to), c.expected) << c.text;
    }
}

TEST(LineBreakForm, ReplacesOnlyTheCrLfPair) {
    EXPECT_EQ(lineBreakForm("a\r\nb\nc"), "a<br>b\nc");
    EXPECT_EQ(lineBreakForm("end\r\n"), "end<br>");
    EXPECT_EQ(lineBreakForm("\r\r\n\n\n\r"), "\r<br>\n\n\r");
    EXPECT_EQ(lineBreakForm("already<br>"), "already<br>");
    EXPECT_EQ(lineBreakForm(""), "");
}

TEST(UrlMessageForm, EscapesWhatTheClientsDecodingWouldChange) {
    const std::string tag = "<title>Zorvane</title>";
    struct Case {
        std::string text, encoded;
    };
    const Case cases[] = {
        {"", ""},
        {"50% & more", "50%25+%26+more"},
        {"C++", "C%2B%2B"},
        {"a b  c", "a+b++c"},
        {"C:\\dir\\", "C:%5Cdir%5C"},
        {"#1 \"q\"", "%231+%22q%22"},
        {"%n %d %t", "%25n+%25d+%25t"},
        {std::string("\0\t\n\r\x1F\x7F", 6), "%00%09%0A%0D%1F%7F"},
        {"<b>/=?:;,.!'()*~_-", "<b>/=?:;,.!'()*~_-"},
        {"caf\xC3\xA9 \xFF", "caf\xC3\xA9+\xFF"},  // bytes above 127 pass
    };
    for (const auto& c : cases) {
        EXPECT_EQ(urlMessageForm(c.text), "<title>Zorvane</title>" + c.encoded) << c.text;
    }
}

// What the IM client does with the message: "+" is a space, %XX the byte.
std::string formDecode(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            decoded += ' ';
        } else if (text[i] == '%' && i + 2 < text.size()) {
            decoded +=
                static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

TEST(UrlMessageForm, DecodesBackToEveryByteAsTyped) {
    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte += static_cast<char>(b);
    const std::string text = everyByte + " %2B+%%";
    const std::string encoded = urlMessageForm(text);
    EXPECT_EQ(formDecode(encoded), "<title>Zorvane</title>" + text);
    // Nothing left that a quoted command-line argument or a URL fragment would take apart.
    EXPECT_EQ(encoded.find_first_of(" \"#&\\"), std::string::npos);
}

TEST(AwayCommand, CarriesTheMessageAsIs) {
    EXPECT_EQ(awayCommand(urlMessageForm("")), "aim:goaway?message=<title>Zorvane</title>");
    EXPECT_EQ(awayCommand(placeholderMessage), "aim:goaway?message=</title>Zorvane</title><");
}

TEST(FormatDecimal, FifteenSignificantDigitsNeverAnExponent) {
    struct Case {
        double value;
        std::string separator, expected;
    };
    const Case cases[] = {
        {0, ".", "0"},
        {512, ".", "512"},
        {95.8, ".", "95.8"},
        {257.1, ",", "257,1"},
        {1.0 / 3, ".", "0.333333333333333"},
        {1e-7, ".", "0.0000001"},
        {1e20, ".", "100000000000000000000"},
        {123456789012345678.0, ".", "123456789012346000"},
        {0.1 + 0.2, ".", "0.3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatDecimal(c.value, c.separator), c.expected) << c.expected;
    }
}

}  // namespace
}  // namespace zorvane
