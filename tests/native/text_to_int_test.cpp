// The interval text, as code page 936 bytes, to a number and then to the timer's period.
// Hex escapes are closed off by splitting the literal ("\xA1\xA1" "50"), or they would swallow
// the digits that follow.
#include "clicker/text_to_int.h"
#include "clicker/timer_period.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace std::string_view_literals;

struct Row {
    const char* name;
    std::string_view text;
    std::int32_t value;
    std::int32_t period;  // what a start from idle sets
};

TEST(TextToInt, IntervalExamples)
{
    const Row rows[] = {
        {"initial text", "1000", 1000, 1000},
        {"empty", "", 0, 0},
        {"zero", "0", 0, 0},
        {"negative", "-50", -50, 0},
        {"trailing letters", "12abc", 12, 12},
        {"leading space", " 50", 50, 50},
        {"leading zeros", "00012", 12, 12},
        {"decimal point ends the number", "1.5", 1, 1},
        {"no digits", "abc", 0, 0},
        {"plus sign", "+7", 7, 7},
        {"two minus signs", "--5", 0, 0},
        {"space after the sign", "- 5", 0, 0},
        {"full-width digits", "\xA3\xB1\xA3\xB2\xA3\xB3", 123, 123},
        {"ideographic space",
         "\xA1\xA1"
         "50",
         50, 50},
        {"largest", "2147483647", 2147483647, 2147483647},
        {"one past the largest wraps", "2147483648", INT32_MIN, 0},
        {"2^32 wraps to 0", "4294967296", 0, 0},
        {"wraps more than once", "99999999999", 1215752191, 1215752191},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(textToInt(r.text), r.value);
        EXPECT_EQ(planPeriodChange(0, false, textToInt(r.text)).period, r.period);
    }
}

TEST(TextToInt, MoreCases)
{
    struct Case {
        const char* name;
        std::string_view text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"2^32 - 1 wraps to -1", "4294967295", -1},
        {"smallest", "-2147483648", INT32_MIN},
        {"negated wrap", "-4294967295", 1},
        {"2^31 + 1", "2147483649", -2147483647},
        {"every white space byte", "\t\n\v\f\r 42", 42},
        {"white space after the number", "42 7", 42},
        {"sign alone", "-", 0},
        {"plus then minus", "+-3", 0},
        {"hex is not read", "0x1A", 0},
        {"full-width minus", "\xA3\xAD\xA3\xB5", -5},
        {"full-width plus",
         "\xA3\xAB"
         "8",
         8},
        {"full-width letter ends the number", "12\xA3\xE1", 12},
        {"Chinese character ends the number",
         "5\xB0\xA1"
         "0",
         5},
        {"Chinese character in front",
         "\xBA\xC1"
         "50",
         0},
        {"lone lead byte at the end dropped", "12\xA3", 12},
        {"a lead byte takes the ASCII digit after it",
         "1\x80"
         "2",
         1},
        {"text ends at a zero byte",
         "12\0"
         "34"sv,
         12},
        {"full-width digits up to a zero byte", "\xA3\xB1\0\xA3\xB2"sv, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(textToInt(c.text), c.value);
    }
}

TEST(FoldFullWidth, Replacements)
{
    struct Case {
        const char* name;
        std::string_view text;
        std::string_view folded;
    };
    const Case cases[] = {
        {"empty", "", ""},
        {"ASCII copied", "abc 123 ~*", "abc 123 ~*"},
        {"ideographic space", "\xA1\xA1", " "},
        {"tilde", "\xA1\xAB", "~"},
        {"asterisk EE", "\xA1\xEE", "*"},
        {"asterisk EF", "\xA1\xEF", "*"},
        {"neighbours of the A1 replacements kept", "\xA1\xA2\xA1\xAA\xA1\xAC\xA1\xED\xA1\xF0",
         "\xA1\xA2\xA1\xAA\xA1\xAC\xA1\xED\xA1\xF0"},
        {"A3 just outside the range kept", "\xA3\xA0\xA3\xFF", "\xA3\xA0\xA3\xFF"},
        {"other lead bytes kept", "\xA2\xB1\xB0\xA1\x81\x40", "\xA2\xB1\xB0\xA1\x81\x40"},
        {"full-width digits", "\xA3\xB0\xA3\xB9", "09"},
        {"mixed", "a\xA3\xB1\xB0\xA1\xA1\xA1z", "a1\xB0\xA1 z"},
        {"a pair with an ASCII trail byte is kept whole", "\xA3\x31", "\xA3\x31"},
        {"pairs are read from the left", "\xA3\xA3\xB1", "#"},
        {"lone trailing lead byte dropped", "12\xA3", "12"},
        {"only a lead byte", "\xA3", ""},
        {"ends at a zero byte",
         "1\0"
         "2"sv,
         "1"},
        {"lead byte before a zero byte dropped",
         "\xA3\0\xB1"
         "5"sv,
         ""},
        {"starts with a zero byte",
         "\0"
         "12"sv,
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(foldFullWidth(c.text), c.folded);
    }
}

TEST(FoldFullWidth, WholeFullWidthAsciiRange)
{
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
        SCOPED_TRACE(testing::Message() << "0xA3 0x" << std::hex << trail);
        const std::string pair{'\xA3', static_cast<char>(trail)};
        EXPECT_EQ(foldFullWidth(pair), std::string(1, static_cast<char>(trail - 0x80)));
    }
}

}  // namespace
