#include "solver_test_support.h"
#include "solvers/exact/cubic.h"

#include "core/failure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace valdrex {
namespace {

using testing::MakeContext;

struct CubicCase {
    std::vector<double> lowToHigh;
    bool symbolic;
    std::vector<std::string> lines;
};

TEST(SolveCubic, WritesTheRootsOfEachDiscriminantCase) {
    const CubicCase cases[] = {
        {{-6, 11, -6, 1}, true, {"x1 = 1", "x2 = 2", "x3 = 3"}},
        {{6, -11, 6, -1}, true, {"x1 = 1", "x2 = 2", "x3 = 3"}},
        {{2, -3, 0, 1}, true, {"x1 =-2", "x2 = 1", "x3 = 1"}},
        {{-8, 0, 0, 1}, true, {"x1 = 2", "x2 =-1+1.732051i", "x3 =-1-1.732051i"}},
        // The pair's real part is exactly 0: (x + 3)(x² + 1).
        {{3, 1, 3, 1}, true, {"x1 =-3", "x2 =1i", "x3 =-1i"}},
        // Root 0 split off; the quadratic that is left follows the symbolic switch.
        {{0, 3, 0, 1}, false, {"x1 = 1.732051i", "x2 =- 1.732051i", "x3 = 0"}},
        {{0, 3, 0, 1}, true, {"x1 =+ i·Sqr(3)", "x2 =- i·Sqr(3)", "x3 = 0"}},
        {{0, 2, -3, 1}, true, {"x1 = 2", "x2 = 1", "x3 = 0"}},
        {{0, 0, 0, -2}, true, {"x1 = 0", "x2 = 0", "x3 = 0"}},
    };
    for (const auto& c : cases) {
        auto ctx = MakeContext(c.lowToHigh, c.symbolic);
        SolveCubic(ctx);
        const std::string where = ::testing::PrintToString(c.lowToHigh);
        EXPECT_EQ(ctx.lines, c.lines) << where;
        EXPECT_EQ(ctx.status, "Solutions found") << where;
        EXPECT_TRUE(ctx.errors.empty()) << where;
        for (std::size_t k = 1; k <= c.lines.size(); ++k)
            EXPECT_EQ("x" + std::to_string(k) + " =" + ctx.SolText[k], c.lines[k - 1]) << where;
    }
}

TEST(SolveCubic, LeavesItsWorkingValues) {
    auto ctx = MakeContext({-8, 0, 0, 1});
    SolveCubic(ctx);
    EXPECT_EQ(ctx.w.B, 0);
    EXPECT_EQ(ctx.w.C, 0);
    EXPECT_EQ(ctx.w.D, -8);
    EXPECT_EQ(ctx.w.T, 1728);
    EXPECT_EQ(ctx.w.RZ, -1);
    EXPECT_DOUBLE_EQ(ctx.w.PIZ, std::sqrt(3.0));

    auto negated = MakeContext({6, -11, 6, -1});
    SolveCubic(negated);
    EXPECT_EQ(negated.a[0], -6);
    EXPECT_EQ(negated.a[3], 1);
    EXPECT_EQ(negated.w.B, -6);
    EXPECT_EQ(negated.w.T, -4);

    // Root 0 split off: the coefficients move one power down and a(3) keeps its value.
    auto shifted = MakeContext({0, 3, 0, 1}, false);
    SolveCubic(shifted);
    EXPECT_EQ(shifted.a[0], 3);
    EXPECT_EQ(shifted.a[1], 0);
    EXPECT_EQ(shifted.a[2], 1);
    EXPECT_EQ(shifted.a[3], 1);
}

TEST(SolveCubic, StopsAtAFailureKeepingTheLinesWritten) {
    // (x - 1)(x² + 1e80): the real root prints, the imaginary part 1e40 is beyond single
    // precision.
    auto ctx = MakeContext({-1e80, 1e80, -1, 1});
    SolveCubic(ctx);
    EXPECT_EQ(ctx.lines.size(), 1u);
    EXPECT_EQ(ctx.status, "");
    ASSERT_EQ(ctx.errors.size(), 1u);
    EXPECT_EQ(ctx.errors[0], (ErrorBox{"Error  1001. Overflow", BoxIcon::Critical, "Error"}));
}

TEST(SolveCubic, GoesOnAfterItsQuadraticFails) {
    auto ctx = MakeContext({0, 0, -1e40, 1}, false);
    SolveCubic(ctx);
    EXPECT_EQ(ctx.lines, (std::vector<std::string>{"x1 = 0", "x3 = 0"}));
    EXPECT_EQ(ctx.SolText[3], " 0");
    EXPECT_EQ(ctx.status, "Solutions found");
    ASSERT_EQ(ctx.errors.size(), 1u);
    EXPECT_EQ(ctx.errors[0], (ErrorBox{"1001. Overflow", BoxIcon::None, "Valdrex"}));
}

TEST(ArcCos, UsesTheWrittenPi) {
    EXPECT_EQ(ArcCos(0), 3.14159265358979 / 2);
}

TEST(ArcCos, FailsAtAndBeyondOne) {
    const struct {
        double x;
        int number;
    } cases[] = {{1, kDivisionByZeroNumber},
                 {-1, kDivisionByZeroNumber},
                 {1.5, kInvalidArgumentNumber},
                 {-2, kInvalidArgumentNumber}};
    for (const auto& c : cases) {
        try {
            ArcCos(c.x);
            ADD_FAILURE() << c.x;
        } catch (const RuntimeFailure& f) {
            EXPECT_EQ(f.number(), c.number) << c.x;
        }
    }
}

TEST(CubeRoot, KeepsTheSign) {
    EXPECT_EQ(CubeRoot(0), 0);
    EXPECT_EQ(CubeRoot(-8), -CubeRoot(8));
    EXPECT_DOUBLE_EQ(CubeRoot(-27), -3);
}

} // namespace
} // namespace valdrex
