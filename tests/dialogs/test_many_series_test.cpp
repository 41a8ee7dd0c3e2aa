#include "dialogs/test_many_series.h"

#include "core/failure.h"

#include <gtest/gtest.h>

namespace valdrex {
namespace {

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
    const std::array<std::string, 10> numbers{" 1", " 2", " 3", " 4", " 5",
                                              " 6", " 7", " 8", " 9", " 10"};
    const std::array<std::string, 10> values{" 0",  " 3",  " 8",  " 15", " 24",
                                             " 35", " 48", " 63", " 80", " 99"};
    EXPECT_EQ(texts.numbers, numbers);
    EXPECT_EQ(texts.values, values);
}

TEST(RunTestMany, DecimalIncrementFromEmptyInitialBoxIsEvaluatedAsWritten) {
    TestManyTexts texts = Series("", ".1");
    EXPECT_EQ(RunTestMany(kXSquaredMinusOne, texts), std::nullopt);
    const std::array<std::string, 10> numbers{" 0",  " .1", " .2", " .3", " .4",
                                              " .5", " .6", " .7", " .8", " .9"};
    EXPECT_EQ(texts.numbers, numbers);
    // 0.1 + 0.1 + 0.1 is not 0.3, but the box reads " .3" and P is taken there.
    EXPECT_EQ(texts.values[3], "-.91");
}

TEST(RunTestMany, WithoutIncrementOnlyTypedBoxesAreEvaluatedAndKeepTheirText) {
    TestManyTexts texts;
    texts.numbers[1] = "3";
    texts.numbers[4] = "-.5";
    texts.values[2] = "old";
    EXPECT_EQ(RunTestMany(kXSquaredMinusOne, texts), std::nullopt);
    EXPECT_EQ(texts.numbers[1], "3");
    EXPECT_EQ(texts.numbers[4], "-.5");
    EXPECT_EQ(texts.values[1], " 8");
    EXPECT_EQ(texts.values[4], "-.75");
    EXPECT_EQ(texts.values[0], "");
    EXPECT_EQ(texts.values[2], "old");
}

TEST(RunTestMany, ZeroPolynomialAndConstantAtZero) {
    struct Case {
        TestCoefficients coef;
        const char* number;
        const char* value;
    };
    for (const Case& c : {Case{TestCoefficients{}, "7", " 0"}, Case{TestCoefficients{}, "0", " 0"},
                          Case{Polynomial({{0, -4}, {3, 2}}), "0", "-4"},
                          Case{Polynomial({{0, 2.5}}), "0", " 2.5"}}) {
        TestManyTexts texts;
        texts.numbers[0] = c.number;
        EXPECT_EQ(RunTestMany(c.coef, texts), std::nullopt);
        EXPECT_EQ(texts.values[0], c.value) << c.number;
    }
}

TEST(RunTestMany, NegativeIncrementCountsDown) {
    TestManyTexts texts = Series("2", "-.5");
    EXPECT_EQ(RunTestMany(kXSquaredMinusOne, texts), std::nullopt);
    EXPECT_EQ(texts.numbers[9], "-2.5");
    EXPECT_EQ(texts.values[9], " 5.25");
}

TEST(RunTestMany, OverflowInEvaluationKeepsBoxesWrittenBefore) {
    TestManyTexts texts;
    texts.numbers = {"2", "1E+300", "3"};
    const std::optional<ErrorBox> box = RunTestMany(Polynomial({{12, 1}}), texts);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(*box, SolverErrorBox(RuntimeFailure(kOverflowNumber, "Overflow")));
    EXPECT_EQ(texts.values[0], " 4096");
    EXPECT_EQ(texts.values[1], "");
    EXPECT_EQ(texts.values[2], "");
}

TEST(RunTestMany, OverflowInSeriesRewritesNoBox) {
    TestManyTexts texts = Series("1E+308", "1E+308");
    const std::optional<ErrorBox> box = RunTestMany(kXSquaredMinusOne, texts);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, "Error");
    EXPECT_EQ(texts.numbers[0], "1E+308");
    EXPECT_EQ(texts.numbers[1], "");
    EXPECT_EQ(texts.values[0], "");
}

} // namespace
} // namespace valdrex
