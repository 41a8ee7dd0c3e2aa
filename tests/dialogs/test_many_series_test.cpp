#include "dialogs/test_many_series.h"

#include "core/failure.h"

#include <gtest/gtest.h>

namespace valdrex {
namespace {

using Texts = std::array<std::string, 10>;

TestCoefficients Polynomial(std::initializer_list<std::pair<int, double>> terms) {
    TestCoefficients coef{};
    for (const auto& [power, value] : terms)
        coef[power] = value;
    return coef;
}

const TestCoefficients kXSquaredMinusOne = Polynomial({{2, 1}, {0, -1}});

TestManyTexts Series(const char* initial, const char* increment) {
    TestManyTexts texts;
    texts.numbers[0] = initial;
    texts.increment = increment;
    return texts;
}

TEST(RunTestMany, SeriesFromInitialValueAndIncrement) {
    TestManyTexts texts = Series("1", "1");
    EXPECT_EQ(RunTestMany(kXSquaredMinusOne, texts), std::nullopt);
    EXPECT_EQ(texts.numbers, (Texts{" 1", " 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9", " 10"}));
    EXPECT_EQ(texts.values,
              (Texts{" 0", " 3", " 8", " 15", " 24", " 35", " 48", " 63", " 80", " 99"}));
    // 0.1 + 0.1 + 0.1 is not 0.3, but the box reads " .3" and P is taken there.
    texts = Series("", ".1");
    EXPECT_EQ(RunTestMany(kXSquaredMinusOne, texts), std::nullopt);
    EXPECT_EQ(texts.numbers,
              (Texts{" 0", " .1", " .2", " .3", " .4", " .5", " .6", " .7", " .8", " .9"}));
    EXPECT_EQ(texts.values[3], "-.91");
    texts = Series("2", "-.5");
    EXPECT_EQ(RunTestMany(kXSquaredMinusOne, texts), std::nullopt);
    EXPECT_EQ(texts.numbers[9] + "|" + texts.values[9], "-2.5| 5.25");
}

TEST(RunTestMany, WithoutIncrementOnlyTypedBoxesAreEvaluatedAndKeepTheirText) {
    TestManyTexts texts;
    texts.numbers[1] = "3";
    texts.numbers[4] = "-.5";
    texts.values[2] = "old";
    EXPECT_EQ(RunTestMany(kXSquaredMinusOne, texts), std::nullopt);
    EXPECT_EQ(texts.numbers, (Texts{"", "3", "", "", "-.5"}));
    EXPECT_EQ(texts.values, (Texts{"", " 8", "old", "", "-.75"}));
}

TEST(RunTestMany, ZeroPolynomialAndConstantAtZero) {
    const struct {
        TestCoefficients coef;
        const char *number, *value;
    } cases[] = {{TestCoefficients{}, "7", " 0"},
                 {TestCoefficients{}, "0", " 0"},
                 {Polynomial({{0, -4}, {3, 2}}), "0", "-4"},
                 {Polynomial({{0, 2.5}}), "0", " 2.5"}};
    for (const auto& c : cases) {
        TestManyTexts texts;
        texts.numbers[0] = c.number;
        EXPECT_EQ(RunTestMany(c.coef, texts), std::nullopt);
        EXPECT_EQ(texts.values[0], c.value) << c.number;
    }
}

TEST(RunTestMany, OverflowKeepsTheBoxesWrittenBefore) {
    TestManyTexts texts;
    texts.numbers = {"2", "1E+300", "3"};
    EXPECT_EQ(RunTestMany(Polynomial({{12, 1}}), texts),
              SolverErrorBox(RuntimeFailure(kOverflowNumber, "Overflow")));
    EXPECT_EQ(texts.values, (Texts{" 4096"}));
    // An overflow in the series itself rewrites no box.
    texts = Series("1E+308", "1E+308");
    EXPECT_EQ(RunTestMany(kXSquaredMinusOne, texts),
              SolverErrorBox(RuntimeFailure(kOverflowNumber, "Overflow")));
    EXPECT_EQ(texts.numbers, (Texts{"1E+308"}));
    EXPECT_EQ(texts.values, Texts{});
}

} // namespace
} // namespace valdrex
