#include "solver_test_support.h"
#include "solvers/exact/exact_solver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace valdrex {
namespace {

using testing::MakeContext;

struct DispatchCase {
    std::vector<double> lowToHigh;
    std::vector<std::string> lines;
    std::string status;
};

TEST(SolveExact, PicksTheSolverByTheHighestNonZeroCoefficient) {
    const DispatchCase cases[] = {
        {{}, {}, "The equation is undetermined"},
        {{5}, {}, "The equation is impossible"},
        {{-4, 2}, {"x1 = 2"}, ""},
        {{5, 2}, {"x1 =-2.5"}, ""},
        {{4, 3}, {"x1 =-1.333333"}, ""},
        {{0, 7}, {"x1 = 0"}, ""},
        {{2, -3, 1}, {"x1 = 2", "x2 = 1"}, "Solutions found"},
        // Zero lower coefficients still take the cubic, which splits off the root 0 itself.
        {{0, 0, 0, 1}, {"x1 = 0", "x2 = 0", "x3 = 0"}, "Solutions found"},
        {{-6, 11, -6, 1}, {"x1 = 1", "x2 = 2", "x3 = 3"}, "Solutions found"},
        {{4, 0, -5, 0, 1}, {"x1 = 2", "x2 =-2", "x3 = 1", "x4 =-1"}, "Solutions found"},
    };
    for (const auto& c : cases) {
        auto ctx = MakeContext(c.lowToHigh);
        SolveExact(ctx);
        EXPECT_EQ(ctx.lines, c.lines) << ::testing::PrintToString(c.lowToHigh);
        EXPECT_EQ(ctx.status, c.status) << ::testing::PrintToString(c.lowToHigh);
        EXPECT_TRUE(ctx.errors.empty());
        for (std::size_t k = 1; k <= c.lines.size(); ++k)
            EXPECT_EQ("x" + std::to_string(k) + " =" + ctx.SolText[k], c.lines[k - 1]);
        for (std::size_t k = c.lines.size() + 1; k <= kMaxRoots; ++k)
            EXPECT_EQ(ctx.SolText[k], "");
    }
}

TEST(SolveExact, IgnoresCoefficientsAboveTheFourthPower) {
    auto ctx = MakeContext({-4, 2, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 1});
    SolveExact(ctx);
    EXPECT_EQ(ctx.lines, std::vector<std::string>{"x1 = 2"});
}

TEST(SolveLinear, StoresTheSingleText) {
    auto ctx = MakeContext({-4, 2});
    SolveLinear(ctx);
    EXPECT_EQ(ctx.SolText[1], " 2");
    EXPECT_EQ(ctx.status, "");
}

TEST(SolveLinear, ReportsARootBeyondSinglePrecisionWithoutALine) {
    auto ctx = MakeContext({-1e39, 1});
    SolveLinear(ctx);
    EXPECT_TRUE(ctx.lines.empty());
    EXPECT_EQ(ctx.SolText[1], "");
    ASSERT_EQ(ctx.errors.size(), 1u);
    EXPECT_EQ(ctx.errors[0], (ErrorBox{"Error  1001. Overflow", BoxIcon::Critical, "Error"}));
}

} // namespace
} // namespace valdrex
