#include "core/equation_text.h"
#include "core_test_support.h"

#include <gtest/gtest.h>

namespace valdrex {
namespace {

using testing::FailureOf;
using testing::Grid;

TEST(EquationText, RendersTheGrid) {
    const std::pair<std::map<int, std::string>, const char*> cases[] = {
        {{{3, "1"}, {2, "-6"}, {1, "11"}, {0, "-6"}}, "x^3 - 6·x^2 + 11·x - 6 = 0"},
        {{{2, "2/4"}, {1, "-1"}, {0, "0.5"}}, "1/2·x^2 - x + 1/2 = 0"},
        {{{12, "-1"}, {1, "3.5"}}, "-x^12 + 7/2·x = 0"},
        {{{4, "1.25"}, {2, "-3/9"}, {0, "-2"}}, "5/4·x^4 - 1/3·x^2 - 2 = 0"},
        {{{1, "1"}, {0, "1"}}, "x + 1 = 0"},
        {{{0, "5"}}, "5 = 0"},
        {{}, "0 = 0"},
        {{{2, "007"}}, "007·x^2 = 0"},
        {{{2, "1.0"}}, "x^2 = 0"},
        {{{2, "-0"}, {1, "0.000"}}, "0 = 0"},
        {{{2, "3/"}}, "1/0·x^2 = 0"},
        {{{2, "-"}}, "0 = 0"},
        {{{2, "abc"}, {0, "1"}}, "1 = 0"},
        {{{2, "2"}, {0, "1"}}, "2·x^2 + 1 = 0"},
        {{{2, ""}, {1, "-1"}, {0, "-1"}}, "-x - 1 = 0"},
        {{{2, " 1"}, {1, " 1"}, {0, "-6"}}, "x^2 + x - 6 = 0"},
    };
    for (const auto& [grid, text] : cases)
        EXPECT_EQ(EquationText(Grid(grid)), text) << text;
    // A coefficient that cannot be reduced fails.
    EXPECT_EQ(FailureOf([] { EquationText(Grid({{2, "0/"}})); }), kDivisionByZeroNumber);
    EXPECT_EQ(FailureOf([] { EquationText(Grid({{2, "9999999999.5"}})); }), kOverflowNumber);
}

TEST(SpaceSignsAndRemoveSpaces, TouchBlanksAndSignsOnly) {
    EXPECT_EQ(SpaceSigns("x^2-3·x+2 = 0"), "x^2 - 3·x + 2 = 0");
    EXPECT_EQ(SpaceSigns("-x"), "-x");
    EXPECT_EQ(SpaceSigns("a - b"), "a  -  b");
    EXPECT_EQ(SpaceSigns(""), "");
    EXPECT_EQ(RemoveSpaces("x^2 - 3·x + 2 = 0"), "x^2-3·x+2=0");
    EXPECT_EQ(RemoveSpaces("x^2  + 1 "), "x^2+1");
    EXPECT_EQ(RemoveSpaces("a\tb"), "a\tb");
}

} // namespace
} // namespace valdrex
