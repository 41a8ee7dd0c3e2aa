#include "core/coefficient_text.h"
#include "core_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace valdrex {
namespace {

using testing::FailureOf;

TEST(NormalizeCoefficient, GivesTheCanonicalForm) {
    const char* cases[][2] = {
        {"0.5", "1/2"},  {"-0.75", "-3/4"}, {"2.50", "5/2"}, {".5", "1/2"},   {"3.", "3"},
        {"1.0", "1"},    {".", "0"},        {"-.", "0"},     {"4/6", "2/3"},  {"-4/6", "-2/3"},
        {"6/3", "2"},    {"0/5", "0"},      {" 7 ", "7"},    {"3/", "1/0"},   {"-5/0", "-1/0"},
        {"10/4", "5/2"}, {"-0.5", "-1/2"},  {"0.000", "0"},  {"0.1", "1/10"}, {"-0.000", "0"}};
    for (const auto& c : cases)
        EXPECT_EQ(NormalizeCoefficient(c[0]), c[1]) << c[0];
    // Texts without "/" and "." are passed on unchanged, however long.
    for (const char* same : {"12", "007", "-", "", "abc", "1E-05", "2147483647", "99999999999"})
        EXPECT_EQ(NormalizeCoefficient(same), same);
    for (const char* text : {"0/0", "0/", "/"})
        EXPECT_EQ(FailureOf([&] { NormalizeCoefficient(text); }), kDivisionByZeroNumber) << text;
    for (const char* text : {"3000000000/2", "1/3000000000", "0.0000000001", "99999999999.5"})
        EXPECT_EQ(FailureOf([&] { NormalizeCoefficient(text); }), kOverflowNumber) << text;
    // Any length is accepted.
    const std::string longText(10000, '7');
    EXPECT_EQ(NormalizeCoefficient(longText), longText);
    EXPECT_THROW(NormalizeCoefficient(longText + "/1"), RuntimeFailure);
    EXPECT_THROW(NormalizeCoefficient(std::string(10000, '/')), RuntimeFailure);
}

// The text a key is typed into shows the caret as "|"; '\b' is Backspace.
TEST(FilterNumericKey, FollowsEachVariant) {
    const KeyRule grid = KeyRule::Grid, decimal = KeyRule::SignedDecimal, step = KeyRule::Increment,
                  digit = KeyRule::AccuracyDigit;
    const std::tuple<KeyRule, char32_t, std::string, bool> cases[] = {
        {grid, '7', "|", true},         {grid, '\b', "5|", true},    {grid, '-', "5|", false},
        {grid, '-', "|5", true},        {grid, '-', "|-5", false},   {grid, '/', "3.5|", false},
        {grid, '.', "3/|", false},      {grid, '/', "3/4|", false},  {grid, '/', "3|", true},
        {grid, '.', "3|", true},        {grid, 'e', "3|", false},    {grid, ' ', "3|", false},
        {grid, U'\u00B7', "3|", false}, {decimal, '/', "3|", false}, {decimal, '.', "3|", true},
        {decimal, '.', "3.|", false},   {decimal, '-', "1|", false}, {decimal, '-', "|1", true},
        {decimal, '.', "3/4|", true},   {step, '.', "3/4|", false},  {step, '/', "3|", false},
        {step, '.', "3|", true},        {digit, '9', "|", false},    {digit, '8', "8|", true},
        {digit, '0', "|", true},        {digit, '\b', "8|", false},  {digit, '-', "|", false}};
    for (const auto& [rule, key, shown, accepted] : cases) {
        const std::size_t caret = shown.find('|');
        const std::string text = shown.substr(0, caret) + shown.substr(caret + 1);
        EXPECT_EQ(FilterNumericKey(rule, key, text, int(caret)), accepted)
            << int(rule) << " key " << int(key) << " in " << shown;
    }
}

TEST(IsPastableNumber, ChecksTheShapeOfANumber) {
    // text, then whether a coefficient box and the test input take it
    const std::tuple<const char*, bool, bool> cases[] = {
        {"3/4", true, false},    {"-0.25", true, true},  {"0.25-", false, false},
        {"1,5", false, false},   {"1/2.5", true, false}, {"-.5", true, true},
        {"1/2/3", false, false}, {"/2", false, false},   {"2/", false, false},
        {"1-2", false, false},   {"1e5", false, false},  {"12", true, true},
        {"", true, true},        {"1..2", false, false}, {" 1", false, false},
        {"+1", false, false},    {"-", true, true},      {"1\r\n", false, false}};
    for (const auto& [text, coefficient, input] : cases) {
        EXPECT_EQ(IsPastableNumber(text, PasteTarget::Coefficient), coefficient) << text;
        EXPECT_EQ(IsPastableNumber(text, PasteTarget::Input), input) << text;
        EXPECT_TRUE(IsPastableNumber(text, PasteTarget::Note)) << text;
    }
}

} // namespace
} // namespace valdrex
