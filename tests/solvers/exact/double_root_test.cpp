#include "solver_test_support.h"
#include "solvers/exact/exact_solver.h"
#include "solvers/exact/rounding_slack.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace valdrex {
namespace {

using testing::MakeContext;

struct MultipleRootCase {
    const char* factors;
    std::vector<double> lowToHigh;
    std::vector<std::string> lines;
};

// Multiple roots put values on the boundaries of the formulas; rounding must not make them fail.
TEST(MultipleRoots, Solve) {
    const MultipleRootCase cases[] = {
        {"(x-1)²(x-2)", {-2, 5, -4, 1}, {"x1 = 1", "x2 = 1", "x3 = 2"}},
        {"(x-1)²(x-2)²",
         {4, -12, 13, -6, 1},
         {"x1 = 2+ 0i", "x2 = 2- 0i", "x3 = 1+ 7.450581E-09i", "x4 = 1- 7.450581E-09i"}},
        {"(x-1)³", {-1, 3, -3, 1}, {"x1 = 1", "x2 = 1", "x3 = 1"}},
        {"(x+2)²(x²+1)",
         {4, 4, 5, 4, 1},
         {"x1 = 1i", "x2 =- 1i", "x3 =-2+ 4.32987E-15i", "x4 =-2- 4.32987E-15i"}},
        {"(x-1)⁴", {1, -4, 6, -4, 1}, {"x1 = 1", "x2 = 1", "x3 = 1", "x4 = 1"}},
        // A cosine of exactly -1 in the cubic's trigonometric form.
        {"(x+7)²(x-3)", {-147, 7, 11, 1}, {"x1 =-7", "x2 =-7", "x3 = 3"}},
        // A slightly negative radicand of the cubic's imaginary part.
        {"(x-4)(x+9)²", {-324, 9, 14, 1}, {"x1 = 4", "x2 =-9+0i", "x3 =-9-0i"}},
        // The resolvent's pair is a double root 0 that rounding turned complex.
        {"(x²-x+5)²",
         {25, -10, 11, -2, 1},
         {"x1 = .5+ 2.17945i", "x2 = .5- 2.17945i", "x3 = .5+ 2.17945i", "x4 = .5- 2.17945i"}},
        // The resolvent's real root is a zero that came out slightly negative.
        {"(x-9)(x+8)(x²-x+6)",
         {-432, 66, -65, -2, 1},
         {"x1 = 9", "x2 =-8", "x3 =0.5+ 2.397916i", "x4 = .5- 2.397916i"}},
        // All three resolvent roots negative, the largest one only by rounding.
        {"(x²+x+7)(x²+x+8)",
         {56, 15, 16, 2, 1},
         {"x1 =-.5+ 2.783882i", "x2 =-.5- 2.783882i", "x3 =-.5+ 2.598076i", "x4 =-.5- 2.598076i"}},
        // Roots symmetric about -1: a zero resolvent root below 0 beside two positive ones.
        {"(x-5)(x-6)(x+7)(x+8)", {1680, -166, -79, 4, 1}, {"x1 = 6", "x2 =-8", "x3 = 5", "x4 =-7"}},
    };
    for (const auto& c : cases) {
        auto ctx = MakeContext(c.lowToHigh, false);
        SolveExact(ctx);
        EXPECT_EQ(ctx.lines, c.lines) << c.factors;
        EXPECT_EQ(ctx.status, "Solutions found") << c.factors;
        EXPECT_TRUE(ctx.errors.empty()) << c.factors;
    }
}

TEST(ClampToZero, MovesOnlyRoundingNoiseBelowZero) {
    const struct {
        double v, slack, result;
    } cases[] = {
        {-1e-17, 1e-16, 0}, {-1e-16, 1e-16, 0}, {-2e-16, 1e-16, -2e-16}, {0.5, 1e-16, 0.5},
        {0, 1e-16, 0},      {-1, 0, -1},        {3e-300, 1, 3e-300},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClampToZero(c.v, c.slack), c.result) << c.v;
}

} // namespace
} // namespace valdrex
