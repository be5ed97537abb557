#include "messages/counters.h"

#include <gtest/gtest.h>

namespace zorvane {
namespace {

constexpr auto NaN = CounterError::NotANumber;
constexpr auto Range = CounterError::OutOfRange;

struct Case {
    std::string text;
    std::expected<std::int16_t, CounterError> expected;
    std::string separator = ".";
};

TEST(ParseCounter, FollowsTheGrammar) {
    const Case cases[] = {
        {"0", 0},
        {"42", 42},
        {" 07", 7},
        {"\t-3 \t", -3},
        {"+5", 5},
        {"-0", 0},
        {"5.", 5},
        {".5", 0},
        {"1,5", 2, ","},
        {"", std::unexpected(NaN)},
        {" \t ", std::unexpected(NaN)},
        {".", std::unexpected(NaN)},
        {"+", std::unexpected(NaN)},
        {"- 5", std::unexpected(NaN)},
        {"--5", std::unexpected(NaN)},
        {"+-5", std::unexpected(NaN)},
        {"5-", std::unexpected(NaN)},
        {"5 5", std::unexpected(NaN)},
        {"1.2.3", std::unexpected(NaN)},
        {"abc", std::unexpected(NaN)},
        {"1e3", std::unexpected(NaN)},
        {"0x10", std::unexpected(NaN)},
        {"$5", std::unexpected(NaN)},
        {"1,000", std::unexpected(NaN)},
        {"1.5", std::unexpected(NaN), ","},
        {"5", 5, ""},  // no separator known: whole numbers still read
        {"\n5", std::unexpected(NaN)},
        {std::string("5\0", 2), std::unexpected(NaN)},
        {"\xEF\xBC\x95", std::unexpected(NaN)},  // full-width 5
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseCounter(c.text, c.separator), c.expected) << '"' << c.text << '"';
    }
}

TEST(ParseCounter, RoundsHalvesToEvenOnTheDecimalDigits) {
    const Case cases[] = {
        {"2.5", 2},
        {"3.5", 4},
        {"0.5", 0},
        {"-0.5", 0},
        {"-2.5", -2},
        {"-3.5", -4},
        {"2.4", 2},
        {"2.6", 3},
        {"2.50000000000000000000001", 3},
        {"2.50000000000000000000000", 2},
        // A double would read these as exact halves.
        {"3.49999999999999999999", 3},
        {"0.50000000000000000001", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseCounter(c.text, c.separator), c.expected) << c.text;
    }
}

TEST(ParseCounter, RangeIsCheckedAfterRounding) {
    const Case cases[] = {
        {"32767", 32767},
        {"32767.4", 32767},
        {"-32768", -32768},
        {"-32768.5", -32768},
        {"32768", std::unexpected(Range)},
        {"32767.5", std::unexpected(Range)},
        {"-32769", std::unexpected(Range)},
        {"-32768.51", std::unexpected(Range)},
        {std::string(400, '9'), std::unexpected(Range)},
        {"-" + std::string(400, '9') + ".9", std::unexpected(Range)},
        {std::string(400, '0') + "32767", 32767},
        {"1." + std::string(100000, '0') + "1", 1},
        {"0.5" + std::string(100000, '0') + "1", 1},
        {std::string(400, '9') + "x", std::unexpected(NaN)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseCounter(c.text, c.separator), c.expected) << c.text.substr(0, 20);
    }
}

}  // namespace
}  // namespace zorvane
