#include "core/number_text.h"
#include "core_test_support.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace valdrex {
namespace {

using testing::FailureOf;

TEST(TextToNumber, ReadsTheLeadingNumber) {
    const std::pair<std::string, double> cases[] = {
        {"3/4", 3},         {"-.5", -0.5},   {"", 0},       {"-", 0},
        {".", 0},           {"12abc", 12},   {" 1 2 ", 12}, {"\t-\n3", -3},
        {"+7", 7},          {"1E3", 1000},   {"1e3", 1000}, {"2D2", 200},
        {"1.5E-2", 0.015},  {"1E", 1},       {"1E+", 1},    {"1E-05", 1e-05},
        {"3.2.1", 3.2},     {"--5", 0},      {"abc", 0},    {"0.000", 0},
        {"1E-400", 0},      {"5.", 5},       {"E5", 0},     {"- 1 . 5 E 1", -15},
        {"-0 0 7.5", -7.5}, {"00.25", 0.25}, {"-000", 0},   {"0 0E3", 0}};
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(TextToNumber(text), value) << '"' << text << '"';
    // Any text is accepted.
    for (const std::string& text :
         {std::string(10000, 'x'), std::string(10000, ' '), std::string("\0\xff\x80", 3)})
        EXPECT_EQ(TextToNumber(text), 0);
    EXPECT_EQ(TextToNumber("1" + std::string(300, '0')), 1e300);
    EXPECT_EQ(TextToNumber(std::string(1 << 20, '0') + "3.5E-1"), 0.35);
    // Beyond the Double range.
    EXPECT_EQ(FailureOf([] { TextToNumber("1E400"); }), kOverflowNumber);
    EXPECT_EQ(FailureOf([] { TextToNumber("-9" + std::string(400, '9')); }), kOverflowNumber);
}

// A long text rounds as its whole value does: exact midpoints between two doubles (1 + 2^-53,
// 2^53 + 1) go to the even one, and one nonzero digit a thousand places further, in the
// integer part or after the point, takes them up.
TEST(TextToNumber, ALongTextRoundsByEveryDigit) {
    const std::string half = "1.00000000000000011102230246251565404236316680908203125";
    const std::string zeros(1000, '0');
    EXPECT_EQ(TextToNumber(half + zeros), 1.0);
    EXPECT_EQ(TextToNumber(half + zeros + "1"), 1.0 + 0x1p-52);
    const std::string odd = "9007199254740993";
    EXPECT_EQ(TextToNumber(odd + zeros + "E-1000"), 0x1p53);
    EXPECT_EQ(TextToNumber(odd + zeros + "1E-1001"), 0x1p53 + 2);
    EXPECT_EQ(TextToNumber("-" + odd + zeros + "1" + zeros + "E-2001"), -(0x1p53 + 2));
}

// Double values with 15 significant digits, single ones with 7.
TEST(NumberToStr, FollowsTheDigitsOfTheTypeAndFailsOnInfinityOrNaN) {
    const auto expect = [](auto value, const char* str, const char* text) {
        EXPECT_EQ(NumberToStr(value), str) << value;
        EXPECT_EQ(NumberToText(value), text) << value;
    };
    expect(2.0, " 2", "2");
    expect(-2.5, "-2.5", "-2.5");
    expect(0.5, " .5", "0.5");
    expect(-0.25, "-.25", "-0.25");
    expect(0.0, " 0", "0");
    expect(-0.0, " 0", "0");
    expect(12.0, " 12", "12");
    expect(1e-10, " 1E-10", "1E-10");
    expect(1.5e20, " 1.5E+20", "1.5E+20");
    expect(1.0 / 3, " .333333333333333", "0.333333333333333");
    expect(123456789012345.0, " 123456789012345", "123456789012345");
    expect(1e15, " 1E+15", "1E+15");
    expect(0.0001, " .0001", "0.0001");
    expect(0.00001, " 1E-05", "1E-05");
    expect(2147483647.0, " 2147483647", "2147483647");
    expect(-4.0f / 3, "-1.333333", "-1.333333");
    expect(1.7320508f, " 1.732051", "1.732051");
    expect(0.5f, " .5", "0.5");
    expect(2.0f, " 2", "2");
    expect(1e-10f, " 1E-10", "1E-10");
    expect(12345678.0f, " 1.234568E+07", "1.234568E+07");
    expect(-0.0f, " 0", "0");
    // Never infinity or NaN.
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(FailureOf([&] { NumberToStr(inf); }), kOverflowNumber);
    EXPECT_EQ(FailureOf([&] { NumberToText(inf - inf); }), kOverflowNumber);
    EXPECT_EQ(FailureOf([&] { NumberToStr(float(inf)); }), kOverflowNumber);
}

} // namespace
} // namespace valdrex
