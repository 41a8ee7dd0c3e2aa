#include "core/failure.h"
#include "core/number_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace valdrex {
namespace {

struct TextCase {
    std::string text;
    double value;
};

TEST(TextToNumber, ReadsTheLeadingNumber) {
    const TextCase cases[] = {
        {"3/4", 3},        {"-.5", -0.5},      {"", 0},           {"-", 0},
        {".", 0},          {"12abc", 12},      {" 1 2 ", 12},     {"\t-\n3", -3},
        {"+7", 7},         {"1E3", 1000},      {"1e3", 1000},     {"2D2", 200},
        {"1.5E-2", 0.015}, {"1E", 1},          {"1E+", 1},        {"1E-05", 1e-05},
        {"3.2.1", 3.2},    {"--5", 0},         {"abc", 0},        {"0.000", 0},
        {"1E-400", 0},     {"- 1 . 5 E 1", -15}, {"5.", 5},       {"E5", 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(TextToNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(TextToNumber, FailsBeyondTheDoubleRange) {
    EXPECT_THROW(TextToNumber("1E400"), RuntimeFailure);
    EXPECT_THROW(TextToNumber("-9" + std::string(400, '9')), RuntimeFailure);
}

TEST(TextToNumber, AcceptsAnyText) {
    EXPECT_EQ(TextToNumber(std::string(10000, 'x')), 0);
    EXPECT_EQ(TextToNumber(std::string(10000, ' ')), 0);
    EXPECT_EQ(TextToNumber("1" + std::string(300, '0')), 1e300);
    EXPECT_EQ(TextToNumber(std::string("\0\xff\x80", 3)), 0);
}

struct FormatCase {
    double value;
    const char* str;
    const char* text;
};

TEST(NumberToStr, DoubleFollowsFifteenDigits) {
    const FormatCase cases[] = {
        {2, " 2", "2"},
        {-2.5, "-2.5", "-2.5"},
        {0.5, " .5", "0.5"},
        {-0.25, "-.25", "-0.25"},
        {0, " 0", "0"},
        {-0.0, " 0", "0"},
        {12, " 12", "12"},
        {1e-10, " 1E-10", "1E-10"},
        {1.5e20, " 1.5E+20", "1.5E+20"},
        {1.0 / 3, " .333333333333333", "0.333333333333333"},
        {123456789012345.0, " 123456789012345", "123456789012345"},
        {1e15, " 1E+15", "1E+15"},
        {0.0001, " .0001", "0.0001"},
        {0.00001, " 1E-05", "1E-05"},
        {2147483647, " 2147483647", "2147483647"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumberToStr(c.value), c.str) << c.value;
        EXPECT_EQ(NumberToText(c.value), c.text) << c.value;
    }
}

TEST(NumberToStr, SingleFollowsSevenDigits) {
    const struct {
        float value;
        const char* str;
        const char* text;
    } cases[] = {
        {-4.0f / 3, "-1.333333", "-1.333333"},
        {1.7320508f, " 1.732051", "1.732051"},
        {0.5f, " .5", "0.5"},
        {2.0f, " 2", "2"},
        {1e-10f, " 1E-10", "1E-10"},
        {12345678.0f, " 1.234568E+07", "1.234568E+07"},
        {-0.0f, " 0", "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumberToStr(c.value), c.str) << c.value;
        EXPECT_EQ(NumberToText(c.value), c.text) << c.value;
    }
}

TEST(NumberToStr, NeverPrintsInfinityOrNaN) {
    EXPECT_THROW(NumberToStr(std::numeric_limits<double>::infinity()), RuntimeFailure);
    EXPECT_THROW(NumberToText(std::numeric_limits<double>::quiet_NaN()), RuntimeFailure);
    EXPECT_THROW(NumberToStr(std::numeric_limits<float>::infinity()), RuntimeFailure);
}

} // namespace
} // namespace valdrex
