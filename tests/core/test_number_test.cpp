#include "core/failure.h"
#include "core/number_text.h"
#include "core/test_number.h"

#include <gtest/gtest.h>

#include <map>

namespace valdrex {
namespace {

CoefficientTexts Grid(const std::map<int, std::string>& boxes) {
    CoefficientTexts t;
    t.fill("0");
    for (const auto& [power, text] : boxes)
        t[power] = text;
    return t;
}

// The text the Test button shows for the grid and the input.
std::string Tested(const std::map<int, std::string>& grid, const std::string& input) {
    const InputNumber x = ParseInputNumber(input);
    TestCoefficients coef{};
    if (x.zeroDenominator || ReadTestCoefficients(Grid(grid), coef))
        return "no output";
    return NumberToStr(EvaluateTest(coef, x.value));
}

TEST(TestANumber, EvaluatesTheTypedCoefficients) {
    const std::map<int, std::string> cubic{{3, "1"}, {2, "-6"}, {1, "11"}, {0, "-6"}};
    EXPECT_EQ(Tested(cubic, "3"), " 0");
    EXPECT_EQ(Tested(cubic, "-1"), "-24");
    EXPECT_EQ(Tested(cubic, ""), "-6");
    EXPECT_EQ(Tested({{2, "1"}, {0, "-2"}}, "1.5"), NumberToStr(0.25));
    EXPECT_EQ(Tested({{1, "1/3"}}, "3"), " 1");
    EXPECT_EQ(Tested({{1, "0.5"}}, "4"), " 2");
    EXPECT_EQ(Tested({{0, "7"}}, "0"), " 7");
    EXPECT_EQ(Tested({{1, "1"}}, "3/4"), " .75");
    EXPECT_EQ(Tested({{1, "1"}}, "5/0"), "no output");
    EXPECT_EQ(Tested({{1, "3/"}}, "2"), "no output");
}

TEST(TestANumber, KeepsLaterCoefficientsOnAZeroDenominator) {
    TestCoefficients coef;
    coef.fill(9);
    EXPECT_EQ(ReadTestCoefficients(Grid({{0, "1"}, {4, "2/0"}}), coef), 4);
    EXPECT_EQ(coef[0], 1);
    EXPECT_EQ(coef[3], 0);
    EXPECT_EQ(coef[4], 9);
    EXPECT_EQ(coef[12], 9);
}

TEST(TestANumber, FailsOnOverflow) {
    TestCoefficients coef{};
    coef[12] = 1;
    EXPECT_THROW(EvaluateTest(coef, 1e40), RuntimeFailure);
    EXPECT_THROW(ReadTestCoefficients(Grid({{1, "3000000000/2"}}), coef), RuntimeFailure);
}

} // namespace
} // namespace valdrex
