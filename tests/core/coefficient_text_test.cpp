#include "core/coefficient_text.h"
#include "core/failure.h"

#include <gtest/gtest.h>

#include <string>

namespace valdrex {
namespace {

TEST(NormalizeCoefficient, GivesTheCanonicalForm) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"0.5", "1/2"},  {"-0.75", "-3/4"}, {"2.50", "5/2"}, {".5", "1/2"},  {"3.", "3"},
        {"1.0", "1"},    {".", "0"},        {"-.", "0"},     {"4/6", "2/3"}, {"-4/6", "-2/3"},
        {"6/3", "2"},    {"0/5", "0"},      {" 7 ", "7"},    {"3/", "1/0"},  {"-5/0", "-1/0"},
        {"10/4", "5/2"}, {"-0.5", "-1/2"},  {"0.000", "0"},  {"12", "12"},   {"007", "007"},
        {"-", "-"},      {"", ""},          {"abc", "abc"},  {"1E-05", "1E-05"},
        {"0.1", "1/10"}, {"-0.000", "0"},   {"2147483647", "2147483647"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NormalizeCoefficient(c.in), c.out) << c.in;
}

TEST(NormalizeCoefficient, FailsWhereItCannotReduce) {
    for (const char* text : {"0/0", "0/", "/", "3000000000/2", "1/3000000000", "0.0000000001",
                             "99999999999.5"})
        EXPECT_THROW(NormalizeCoefficient(text), RuntimeFailure) << text;
    // A long integer without "/" or "." is passed on unchanged.
    EXPECT_EQ(NormalizeCoefficient("99999999999"), "99999999999");
}

TEST(NormalizeCoefficient, AcceptsAnyText) {
    const std::string longText(10000, '7');
    EXPECT_EQ(NormalizeCoefficient(longText), longText);
    EXPECT_THROW(NormalizeCoefficient(longText + "/1"), RuntimeFailure);
    EXPECT_THROW(NormalizeCoefficient(std::string(10000, '/')), RuntimeFailure);
}

struct KeyCase {
    KeyRule rule;
    char32_t key;
    const char* text;
    int caret;
    bool accepted;
};

TEST(FilterNumericKey, FollowsEachVariant) {
    const KeyCase cases[] = {
        // grid
        {KeyRule::Grid, '7', "", 0, true},
        {KeyRule::Grid, kBackspace, "5", 1, true},
        {KeyRule::Grid, '-', "5", 1, false},
        {KeyRule::Grid, '-', "5", 0, true},
        {KeyRule::Grid, '-', "-5", 0, false},
        {KeyRule::Grid, '/', "3.5", 3, false},
        {KeyRule::Grid, '.', "3/", 2, false},
        {KeyRule::Grid, '/', "3/4", 3, false},
        {KeyRule::Grid, '/', "3", 1, true},
        {KeyRule::Grid, '.', "3", 1, true},
        {KeyRule::Grid, 'e', "3", 1, false},
        {KeyRule::Grid, ' ', "3", 1, false},
        {KeyRule::Grid, U'\u00B7', "3", 1, false},
        // signed decimal
        {KeyRule::SignedDecimal, '/', "3", 1, false},
        {KeyRule::SignedDecimal, '.', "3", 1, true},
        {KeyRule::SignedDecimal, '.', "3.", 2, false},
        {KeyRule::SignedDecimal, '-', "1", 1, false},
        {KeyRule::SignedDecimal, '-', "1", 0, true},
        {KeyRule::SignedDecimal, '.', "3/4", 3, true},
        // increment
        {KeyRule::Increment, '.', "3/4", 3, false},
        {KeyRule::Increment, '/', "3", 1, false},
        {KeyRule::Increment, '.', "3", 1, true},
        // accuracy digit
        {KeyRule::AccuracyDigit, '9', "", 0, false},
        {KeyRule::AccuracyDigit, '8', "8", 1, true},
        {KeyRule::AccuracyDigit, '0', "", 0, true},
        {KeyRule::AccuracyDigit, kBackspace, "8", 1, false},
        {KeyRule::AccuracyDigit, '-', "", 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FilterNumericKey(c.rule, c.key, c.text, c.caret), c.accepted)
            << static_cast<int>(c.rule) << " key " << static_cast<int>(c.key) << " in \""
            << c.text << "\"";
}

} // namespace
} // namespace valdrex
