#include "core/failure.h"
#include "polynomial_builder.h"
#include "solvers/approx/rational.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace valdrex {
namespace {

using Lines = std::vector<std::string>;

const ErrorBox kOverflowBox{"1001. Overflow", BoxIcon::Critical, "Error"};

TEST(SolveRational, ListsRootsInSearchOrder) {
    const struct {
        Polynomial a;
        Lines lines;
    } cases[] = {
        {FromHighest({1, -6, 11, -6}), {"x1 = 1", "x2 = 2", "x3 = 3"}},
        {FromHighest({2, -3, 1}), {"x1 = 1", "x2 = 1/ 2"}},
        {FromHighest({6, 5, 1}), {"x1 =-1/ 3", "x2 =-1/ 2"}},
        {FromHighest({4, 0, -1}), {"x1 =-1/ 2", "x2 = 1/ 2"}},
        {FromHighest({1, 0, 0, 0}), {"x1 = 0", "x2 = 0", "x3 = 0"}},
        // (x - 1)^2 (x + 2): negative roots first, a double root listed twice.
        {FromHighest({1, 0, -3, 2}), {"x1 =-2", "x2 = 1", "x3 = 1"}},
        // x^2 (x^2 - 1): the numerators come from the lowest non-zero coefficient.
        {FromHighest({1, 0, -1, 0, 0}), {"x1 = 0", "x2 = 0", "x3 =-1", "x4 = 1"}},
        // A negative leading coefficient: the candidates' denominators still carry the sign.
        {FromHighest({-3, 2, 1}), {"x1 =-1/ 3", "x2 = 1"}},
        {FromHighest({2, -4}), {"x1 = 2"}},
    };
    for (const auto& c : cases) {
        SolveContext ctx = ContextFor(c.a);
        SolveRational(ctx);
        EXPECT_EQ(ctx.lines, c.lines);
        EXPECT_EQ(ctx.status, "Solutions found");
        EXPECT_EQ(ctx.factorText, "");
        EXPECT_TRUE(ctx.errors.empty());
    }
}

TEST(SolveRational, LeavesTheIrreducibleFactor) {
    const struct {
        Polynomial a;
        Lines lines;
        std::string status;
        std::string factorText;
        Polynomial factor;
    } cases[] = {
        {FromHighest({1, -2, 1, -2}),
         {"x1 = 2"},
         "Solutions found",
         "x^2  + 1 ",
         FromHighest({1, 0, 1})},
        {FromHighest({1, 0, 1}),
         {},
         "There aren't rational roots",
         "x^2  + 1 ",
         FromHighest({1, 0, 1})},
        {FromHighest({2, 3, -1}),
         {},
         "There aren't rational roots",
         "2·x^2 + 3·x - 1 ",
         FromHighest({2, 3, -1})},
        {FromHighest({1, -1, 1}),
         {},
         "There aren't rational roots",
         "x^2 -x + 1 ",
         FromHighest({1, -1, 1})},
        {FromHighest({-1, 0, -1}),
         {},
         "There aren't rational roots",
         "-x^2  - 1 ",
         FromHighest({-1, 0, -1})},
        // (2x - 1)(x^3 - 2): the factor is scaled by the root's denominator.
        {FromHighest({2, -1, 0, -4, 2}),
         {"x1 = 1/ 2"},
         "Solutions found",
         "2·x^3   - 4 ",
         FromHighest({2, 0, 0, -4})},
        // x (x - 3)(-12x^2 + x - 5): a coefficient 1 drops its digits.
        {FromHighest({-12, 37, -8, 15, 0}),
         {"x1 = 0", "x2 = 3"},
         "Solutions found",
         "-12·x^2 +x - 5 ",
         FromHighest({-12, 1, -5})},
    };
    for (const auto& c : cases) {
        SolveContext ctx = ContextFor(c.a);
        SolveRational(ctx);
        EXPECT_EQ(ctx.lines, c.lines);
        EXPECT_EQ(ctx.status, c.status);
        EXPECT_EQ(ctx.factorText, c.factorText);
        EXPECT_EQ(ctx.a, c.factor);
        EXPECT_TRUE(ctx.errors.empty());
    }
}

TEST(SolveRational, ConstantPolynomialsHaveNoFactor) {
    const struct {
        Polynomial a;
        std::string status;
    } cases[] = {
        {FromHighest({5}), "The equation is impossible"},
        {FromHighest({0}), "The equation is undetermined"},
        // Coefficients are read through their integer values.
        {FromHighest({0.4, 3}), "The equation is impossible"},
    };
    for (const auto& c : cases) {
        SolveContext ctx = ContextFor(c.a);
        SolveRational(ctx);
        EXPECT_EQ(ctx.status, c.status);
        EXPECT_TRUE(ctx.lines.empty());
        EXPECT_EQ(ctx.factorText, "");
    }
}

TEST(SolveRational, AllRationalLeavesTheLeadingCoefficientAsTheLastQuotient) {
    SolveContext ctx = ContextFor(FromHighest({2, -3, 1}));
    SolveRational(ctx);
    EXPECT_EQ(ctx.a[0], 2);
}

TEST(SolveRational, OverflowKeepsTheRootsAndTheLastQuotient) {
    const struct {
        Polynomial a;
        Lines lines;
        Polynomial lastQuotient; // up to the degree the failure happened at
        int degree;
    } cases[] = {
        // The first candidate -1/1000 makes 7 * 1000^12 at once.
        {FromHighest({1000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7}),
         {},
         FromHighest({1000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7}),
         12},
        // x (1000x^11 + 7): the root 0 comes first, then the quotient overflows.
        {FromHighest({1000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0}),
         {"x1 = 0"},
         FromHighest({1000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7}),
         11},
        // Integer values beyond 32 bits, and the magnitude of -2^31.
        {FromHighest({1, 3e9}), {}, FromHighest({1, 3e9}), 1},
        {FromHighest({1, -2147483648.0}), {}, FromHighest({1, -2147483648.0}), 1},
    };
    for (const auto& c : cases) {
        SolveContext ctx = ContextFor(c.a);
        SolveRational(ctx);
        EXPECT_EQ(ctx.lines, c.lines);
        EXPECT_EQ(ctx.status, "");
        EXPECT_EQ(ctx.factorText, "");
        EXPECT_EQ(ctx.errors, std::vector<ErrorBox>{kOverflowBox});
        for (int i = 0; i <= c.degree; ++i)
            EXPECT_EQ(ctx.a[i], c.lastQuotient[i]) << "a(" << i << ")";
    }
}

// Walking every integer up to coefficients near 2^31 takes seconds; visiting divisors does not.
TEST(SolveRational, LargeCoefficientsFinishQuickly) {
    const Polynomial cases[] = {
        FromHighest({1, 0, 1999999973}),
        FromHighest({1784742960, 1999999973}),
        FromHighest({1, 0, 0, 0, -2147483647}),
        FromHighest({735134400, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 735134400}),
        FromHighest({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 735134400}),
        FromHighest({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
    };
    for (const Polynomial& a : cases) {
        SolveContext ctx = ContextFor(a);
        const auto start = std::chrono::steady_clock::now();
        SolveRational(ctx);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_LT(elapsed, std::chrono::milliseconds(500));
        EXPECT_TRUE(!ctx.status.empty() || !ctx.errors.empty());
    }
}

} // namespace
} // namespace valdrex
