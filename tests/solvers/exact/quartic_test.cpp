#include "solver_test_support.h"
#include "solvers/exact/quartic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace valdrex {
namespace {

using testing::MakeContext;
using testing::ParseRootText;

struct QuarticCase {
    std::vector<double> lowToHigh;
    std::vector<std::string> lines;
};

void ExpectLines(const QuarticCase& c, bool symbolic) {
    auto ctx = MakeContext(c.lowToHigh, symbolic);
    SolveQuartic(ctx);
    const std::string where = ::testing::PrintToString(c.lowToHigh);
    EXPECT_EQ(ctx.lines, c.lines) << where;
    EXPECT_EQ(ctx.status, "Solutions found") << where;
    EXPECT_TRUE(ctx.errors.empty()) << where;
    for (std::size_t k = 1; k <= c.lines.size(); ++k)
        EXPECT_EQ("x" + std::to_string(k) + " =" + ctx.SolText[k], c.lines[k - 1]) << where;
}

TEST(SolveQuartic, Biquadratic) {
    const QuarticCase cases[] = {
        {{4, 0, -5, 0, 1}, {"x1 = 2", "x2 =-2", "x3 = 1", "x4 =-1"}},
        {{-4, 0, 5, 0, -1}, {"x1 = 2", "x2 =-2", "x3 = 1", "x4 =-1"}},
        {{4, 0, 5, 0, 1}, {"x1 = 1i", "x2 =-1i", "x3 = 2i", "x4 =-2i"}},
        {{4, 0, 0, 0, 1}, {"x1 = 1+ 1i", "x2 = 1- 1i", "x3 =-1+ 1i", "x4 =-1- 1i"}},
        // a(0) = 0 still takes this way, never the double root 0.
        {{0, 0, 1, 0, 1}, {"x1 = 0", "x2 = 0", "x3 = 1i", "x4 =-1i"}},
        {{0, 0, 0, 0, 1}, {"x1 = 0", "x2 = 0", "x3 = 0", "x4 = 0"}},
        {{0, 0, 0, 0, -3}, {"x1 = 0", "x2 = 0", "x3 = 0", "x4 = 0"}},
        // A double y: D4 = 0 forces Δb to 0, (x² - 2)².
        {{4, 0, -4, 0, 1}, {"x1 = 1.414214", "x2 =-1.414214", "x3 = 1.414214", "x4 =-1.414214"}},
    };
    for (const auto& c : cases)
        ExpectLines(c, true);
}

TEST(SolveQuartic, SplitsOffZeroRoots) {
    // Way B hands x² - x to the quadratic solver, way C hands x³ - 1 to the cubic solver.
    ExpectLines({{0, 0, 0, -1, 1}, {"x1 = 0", "x2 = 1", "x3 = 0", "x4 = 0"}}, false);
    ExpectLines({{0, 0, 0, -1, 1}, {"x1 = 1", "x2 = 0", "x3 = 0", "x4 = 0"}}, true);
    ExpectLines({{0, 0, -2, 1, 1}, {"x1 =-2", "x2 = 1", "x3 = 0", "x4 = 0"}}, false);
    ExpectLines(
        {{0, -1, 0, 0, 1}, {"x1 = 1", "x2 =-.5+0.8660254i", "x3 =-.5-0.8660254i", "x4 = 0"}}, true);
    ExpectLines({{0, -6, 7, 0, -1}, {"x1 =-3", "x2 = 1", "x3 = 2", "x4 = 0"}}, true);
}

TEST(SolveQuartic, DescartesMethod) {
    const QuarticCase cases[] = {
        // Four real roots, both sign choices.
        {{24, -50, 35, -10, 1}, {"x1 = .9999999", "x2 = 4", "x3 = 3", "x4 = 2"}},
        {{-24, 50, -35, 10, -1}, {"x1 = .9999999", "x2 = 4", "x3 = 3", "x4 = 2"}},
        {{3, 12, -3, -10, 1}, {"x1 = 10.17608", "x2 =-1.055901", "x3 = 1.12746", "x4 =-.2476375"}},
        {{-1, -8, 6, 11, 1}, {"x1 =-10.34625", "x2 = .679582", "x3 =-.1169215", "x4 =-1.216413"}},
        // Two pairs, with and without exchanging the imaginary parts.
        {{4, -7, 11, -1, 1},
         {"x1 = .3305523+ .5250556i", "x2 = .3305523- .5250556i", "x3 = .1694477+ 3.219052i",
          "x4 = .1694477- 3.219052i"}},
        {{6, 11, 8, 0, 1},
         {"x1 = .6553348+ 2.93697i", "x2 = .6553348- 2.93697i", "x3 =-.6553348+ .4828405i",
          "x4 =-.6553348- .4828405i"}},
        // A resolvent root exactly 0: equal imaginary parts, then equal real parts.
        {{9, 12, 10, 4, 1},
         {"x1 =-1+ 1.414214i", "x2 =-1- 1.414214i", "x3 =-1+ 1.414214i", "x4 =-1- 1.414214i"}},
        {{4, -10, 9, -4, 1},
         {"x1 = 1+ 0i", "x2 = 1- 0i", "x3 = 1+ 1.732051i", "x4 = 1- 1.732051i"}},
        // Two real roots and a pair: root 3's real part has its "0" and no blank.
        {{-2, -10, 0, -7, 1},
         {"x1 = 7.198352", "x2 =-.1946906", "x3 =-0.001830529+ 1.194608i",
          "x4 =-.001830529- 1.194608i"}},
        {{11, -10, 9, 10, 1},
         {"x1 =-8.837661", "x2 =-2.068406", "x3 = .4530333+ .6296949i",
          "x4 = .4530333- .6296949i"}},
        // The pair's real part is exactly 0: (x + 4)(x + 2)(x² + 2).
        {{16, 12, 10, 6, 1}, {"x1 =-4", "x2 =-2", "x3 = 1.414214i", "x4 =- 1.414214i"}},
    };
    for (const auto& c : cases)
        ExpectLines(c, true);
}

TEST(SolveQuartic, ListsTheRootsOfFourLinearFactorsInOrderOneFourThreeTwo) {
    auto ctx = MakeContext({24, -50, 35, -10, 1});
    SolveQuartic(ctx);
    ASSERT_EQ(ctx.lines.size(), 4u);
    const double expected[] = {1, 4, 3, 2};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_NEAR(ParseRootText(ctx.SolText[k]).real(), expected[k - 1], 1e-6);
        EXPECT_NEAR(ctx.w.RootValues[k - 1], expected[k - 1], 1e-6);
    }
}

TEST(SolveQuartic, LeavesItsWorkingValues) {
    auto ctx = MakeContext({-48, 8, 20, 4, -2});
    SolveQuartic(ctx);
    EXPECT_EQ(ctx.a[4], 2);
    EXPECT_EQ(ctx.a[0], 48);
    EXPECT_EQ(ctx.w.E, -2);
    EXPECT_EQ(ctx.w.F, -10);
    EXPECT_EQ(ctx.w.G, -4);
    EXPECT_EQ(ctx.w.H, 24);
    // p = -11.5, q = -15, r = 19.3125 give the resolvent y³ - 5.75y² + 3.4375y - 3.515625.
    EXPECT_EQ(ctx.w.B, -5.75);
    EXPECT_EQ(ctx.w.C, 3.4375);
    EXPECT_EQ(ctx.w.D, -3.515625);

    auto biquadratic = MakeContext({4, 0, -5, 0, 1});
    SolveQuartic(biquadratic);
    EXPECT_EQ(biquadratic.w.RootValues, (std::array<double, 4>{2, -2, 1, -1}));

    // Ways B and C leave the reduced polynomial in a(0) to a(3).
    auto wayB = MakeContext({0, 0, -4, 2, 2}, false);
    SolveQuartic(wayB);
    EXPECT_EQ(wayB.a[0], -2);
    EXPECT_EQ(wayB.a[1], 1);
    EXPECT_EQ(wayB.a[2], 1);
    auto wayC = MakeContext({0, 6, -5, 0, 1});
    SolveQuartic(wayC);
    EXPECT_EQ(wayC.a[0], 6);
    EXPECT_EQ(wayC.a[1], -5);
    EXPECT_EQ(wayC.a[2], 0);
    EXPECT_EQ(wayC.a[3], 1);
}

TEST(SolveQuartic, GoesOnAfterASubSolverFails) {
    // Way B: the quadratic's radicand 1073676293 overflows the factor scan.
    auto wayB = MakeContext({0, 0, -268419073, 1, 1});
    SolveQuartic(wayB);
    EXPECT_EQ(wayB.lines, (std::vector<std::string>{"x3 = 0", "x4 = 0"}));
    EXPECT_EQ(wayB.SolText[3], " 0");
    EXPECT_EQ(wayB.SolText[4], " 0");
    EXPECT_EQ(wayB.status, "Solutions found");
    ASSERT_EQ(wayB.errors.size(), 1u);
    EXPECT_EQ(wayB.errors[0].text, "1001. Overflow");

    // Way C: the cubic's root 1e40 is beyond single precision.
    auto wayC = MakeContext({0, -1e120, 0, 0, 1});
    SolveQuartic(wayC);
    EXPECT_EQ(wayC.lines, std::vector<std::string>{"x4 = 0"});
    EXPECT_EQ(wayC.status, "Solutions found");
    ASSERT_EQ(wayC.errors.size(), 1u);
    EXPECT_EQ(wayC.errors[0], (ErrorBox{"Error  1001. Overflow", BoxIcon::Critical, "Error"}));
}

} // namespace
} // namespace valdrex
