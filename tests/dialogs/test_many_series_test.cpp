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
const std::optional<ErrorBox> kOverflow =
    SolverErrorBox(RuntimeFailure(kOverflowNumber, "Overflow"));

// Presses Test with the N boxes and the increment, expecting `box`; returns the boxes then.
TestManyTexts PressTest(const TestCoefficients& coef, const Texts& numbers, const char* increment,
                        const std::optional<ErrorBox>& box = std::nullopt,
                        const Texts& values = {}) {
    TestManyTexts texts{numbers, increment, values};
    EXPECT_EQ(RunTestMany(coef, texts), box);
    return texts;
}

TEST(RunTestMany, SeriesFromInitialValueAndIncrement) {
    const TestManyTexts ones = PressTest(kXSquaredMinusOne, {"1"}, "1");
    EXPECT_EQ(ones.numbers, (Texts{" 1", " 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9", " 10"}));
    EXPECT_EQ(ones.values,
              (Texts{" 0", " 3", " 8", " 15", " 24", " 35", " 48", " 63", " 80", " 99"}));
    // 0.1 + 0.1 + 0.1 is not 0.3, but the box reads " .3" and P is taken there.
    const TestManyTexts tenths = PressTest(kXSquaredMinusOne, {""}, ".1");
    EXPECT_EQ(tenths.numbers,
              (Texts{" 0", " .1", " .2", " .3", " .4", " .5", " .6", " .7", " .8", " .9"}));
    EXPECT_EQ(tenths.values[3], "-.91");
    const TestManyTexts down = PressTest(kXSquaredMinusOne, {"2"}, "-.5");
    EXPECT_EQ(down.numbers[9] + "|" + down.values[9], "-2.5| 5.25");
}

TEST(RunTestMany, WithoutIncrementOnlyTypedBoxesAreEvaluatedAndKeepTheirText) {
    const Texts numbers{"", "3", "", "", "-.5"};
    const TestManyTexts texts =
        PressTest(kXSquaredMinusOne, numbers, "", std::nullopt, {"", "", "old"});
    EXPECT_EQ(texts.numbers, numbers);
    EXPECT_EQ(texts.values, (Texts{"", " 8", "old", "", "-.75"}));
}

TEST(RunTestMany, ZeroPolynomialAndConstantAtZero) {
    const std::tuple<TestCoefficients, const char*, const char*> cases[] = {
        {{}, "7", " 0"},
        {{}, "0", " 0"},
        {Polynomial({{0, -4}, {3, 2}}), "0", "-4"},
        {Polynomial({{0, 2.5}}), "0", " 2.5"}};
    for (const auto& [coef, number, value] : cases)
        EXPECT_EQ(PressTest(coef, {number}, "").values[0], value) << number;
}

TEST(RunTestMany, OverflowKeepsTheBoxesWrittenBefore) {
    EXPECT_EQ(PressTest(Polynomial({{12, 1}}), {"2", "1E+300", "3"}, "", kOverflow).values,
              (Texts{" 4096"}));
    // An overflow in the series itself rewrites no box.
    const TestManyTexts series = PressTest(kXSquaredMinusOne, {"1E+308"}, "1E+308", kOverflow);
    EXPECT_EQ(series.numbers, (Texts{"1E+308"}));
    EXPECT_EQ(series.values, Texts{});
}

} // namespace
} // namespace valdrex
