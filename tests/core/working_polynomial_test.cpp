#include "core/number_text.h"
#include "core/working_polynomial.h"
#include "core_test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace valdrex {
namespace {

using testing::FailureOf;
using testing::Grid;
using testing::Poly;
using Boxes = std::map<int, std::string>;

// The grid, then the polynomial read from the constant term up, or the first unreadable box,
// in which case the previous polynomial is kept.
TEST(ReadCoefficients, ScalesToWholeNumbersOrReportsTheFirstUnreadableBox) {
    const std::tuple<Boxes, std::vector<double>, int> cases[] = {
        {{{2, "1/2"}, {1, "-1"}, {0, "0.5"}}, {1, -2, 1}, -1},
        {{{3, "1/3"}, {1, "0.25"}, {0, "-2"}}, {-24, 3, 0, 4}, -1},
        {{{2, "2"}, {1, "-3"}, {0, "1"}}, {1, -3, 2}, -1},
        {{{2, "4/6"}, {0, "-0.5"}}, {-3, 0, 4}, -1},
        {{}, {}, -1},
        {{{2, ""}, {1, "-"}, {0, "."}}, {}, -1},
        {{{1, "0.5"}, {0, "0.25"}}, {1, 2}, -1},
        {{{2, "0.1"}}, {0, 0, 1}, -1},
        {{{2, "1/10"}}, {0, 0, 1}, -1},
        {{{2, "1E-05"}, {0, "3"}}, {3}, -1},
        {{{12, "1/7"}, {0, "1/11"}}, {7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 11}, -1},
        {{{2, "5/0"}}, {}, 2},
        {{{2, "3/"}}, {}, 2},
        {{{5, "3/"}, {3, "1/0"}}, {}, 3},
        {{{4, "0/0"}}, {}, 4},
        {{{1, "2147483648"}}, {}, 1},
        {{{0, "2147483647"}, {1, "1/2"}}, {}, 0},  // the product n * L leaves 32 bits
        {{{0, "1/65536"}, {1, "1/65537"}}, {}, 1}, // the scale leaves 32 bits
    };
    for (const auto& [grid, read, index] : cases) {
        Polynomial previous, a;
        previous.fill(99);
        a = previous;
        EXPECT_EQ(ReadCoefficients(Grid(grid), a).value_or(-1), index);
        EXPECT_EQ(a, index < 0 ? Poly(read) : previous);
    }
}

TEST(EvaluateP, SumsFromTheConstantUpAndFailsOnOverflow) {
    const Polynomial a = Poly({-6, 11, -6, 1}), x12 = Poly({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
    EXPECT_EQ((std::vector{EvaluateP(a, 0), EvaluateP(a, 1), EvaluateP(a, 4), EvaluateP(x12, 0)}),
              (std::vector<double>{-6, 0, 6, 0}));
    EXPECT_EQ(FailureOf([&] { EvaluateP(a, 1e200); }), kOverflowNumber);
    EXPECT_EQ(FailureOf([&] { EvaluateP(x12, 1e30); }), kOverflowNumber);
    EXPECT_EQ(FailureOf([&] { EvaluateTest(x12, 1e40); }), kOverflowNumber);
}

// The text the Test button shows for the grid and the input.
std::string Tested(const Boxes& grid, const std::string& input) {
    const InputNumber x = ParseInputNumber(input);
    TestCoefficients coef{};
    if (x.zeroDenominator || ReadTestCoefficients(Grid(grid), coef))
        return "no output";
    return NumberToStr(EvaluateTest(coef, x.value));
}

TEST(TestANumber, EvaluatesTheTypedCoefficients) {
    const Boxes cubic{{3, "1"}, {2, "-6"}, {1, "11"}, {0, "-6"}};
    const std::tuple<Boxes, const char*, const char*> cases[] = {
        {cubic, "3", " 0"},
        {cubic, "-1", "-24"},
        {cubic, "", "-6"},
        {{{2, "1"}, {0, "-2"}}, "1.5", " .25"},
        {{{1, "1/3"}}, "3", " 1"},
        {{{1, "0.5"}}, "4", " 2"},
        {{{0, "7"}}, "0", " 7"},
        {{{1, "1"}}, "3/4", " .75"},
        {{{1, "1"}}, "5/0", "no output"},
        {{{1, "3/"}}, "2", "no output"},
    };
    for (const auto& [grid, input, shown] : cases)
        EXPECT_EQ(Tested(grid, input), shown) << input;
    // A zero denominator leaves that coefficient and the later ones as they were.
    TestCoefficients coef;
    coef.fill(9);
    EXPECT_EQ(ReadTestCoefficients(Grid({{0, "1"}, {4, "2/0"}}), coef), 4);
    EXPECT_EQ((std::vector<double>{coef[0], coef[3], coef[4], coef[12]}),
              (std::vector<double>{1, 0, 9, 9}));
    const CoefficientTexts tooLarge = Grid({{1, "3000000000/2"}});
    EXPECT_EQ(FailureOf([&] { ReadTestCoefficients(tooLarge, coef); }), kOverflowNumber);
}

} // namespace
} // namespace valdrex
