#include "polynomial_builder.h"
#include "solvers/approx/bairstow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace valdrex {
namespace {

using Lines = std::vector<std::string>;

MethodOptions BairstowOptions(std::string accuracy, std::string p, std::string q) {
    MethodOptions o;
    o.AccuracyText = std::move(accuracy);
    o.BairstowPText = std::move(p);
    o.BairstowQText = std::move(q);
    return o;
}

TEST(SolveBairstow, ListsRootsFactorByFactor) {
    const MethodOptions defaults;
    const struct {
        Polynomial a;
        MethodOptions options;
        Lines lines;
        std::string status;
    } cases[] = {
        {FromHighest({1, -6, 11, -6}), defaults, {"x1 = 2", "x2 = 1", "x3 = 3"}, "Solutions found"},
        {FromHighest({1, -10, 35, -50, 24}),
         defaults,
         {"x1 = 2", "x2 = 1", "x3 = 4", "x4 = 3"},
         "Solutions found"},
        // (x^2 + 1)(x - 1)(x - 2): the complex pair is left out.
        {FromHighest({1, -3, 3, -3, 2}), defaults, {"x1 = 2", "x2 = 1"}, "Solutions found"},
        {FromHighest({1, 0, 0, -1}), defaults, {}, "The Baristow method is unuseful"},
        {FromHighest({1, 0, 1, 0, 1}), defaults, {}, "To many iterations needed"},
        // (x^2 + 1)(x^2 + 4): no real root in either factor.
        {FromHighest({1, 0, 5, 0, 4}), defaults, {}, "No solution"},
        // Start values at the factor (x - 2)(x - 3): it is taken first.
        {FromHighest({1, -6, 11, -6}),
         BairstowOptions("8", "-5", "6"),
         {"x1 = 3", "x2 = 2", "x3 = 1"},
         "Solutions found"},
        // Unreadable option texts read as 0.
        {FromHighest({1, -6, 11, -6}),
         BairstowOptions("8", "-", ""),
         {"x1 = 2", "x2 = 1", "x3 = 3"},
         "Solutions found"},
        // Lower degrees go straight to the last factor.
        {FromHighest({1, -3, 2}), defaults, {"x1 = 2", "x2 = 1"}, "Solutions found"},
        {FromHighest({2, 5}), defaults, {"x1 =-2.5"}, "Solutions found"},
        {FromHighest({1, 0, 1}), defaults, {}, "No solution"},
        {FromHighest({7}), defaults, {}, "No solution"},
    };
    for (const auto& c : cases) {
        SolveContext ctx = ContextFor(c.a);
        SolveBairstow(ctx, c.options);
        EXPECT_EQ(ctx.lines, c.lines);
        EXPECT_EQ(ctx.status, c.status);
        EXPECT_TRUE(ctx.errors.empty());
    }
}

TEST(SolveBairstow, KeepsTheTolerance) {
    const struct {
        std::string accuracy;
        double tolerance;
    } cases[] = {{"8", 1e-8}, {"", 1}, {"0", 1}, {"3", 1e-3}};
    for (const auto& c : cases) {
        SolveContext ctx = ContextFor(FromHighest({1, -6, 11, -6}));
        SolveBairstow(ctx, BairstowOptions(c.accuracy, "0", "0"));
        EXPECT_EQ(ctx.w.E, c.tolerance);
        EXPECT_EQ(ctx.lines.size(), 3u);
    }
}

TEST(SolveBairstow, KeepsTheLastDeterminantAndDiscriminant) {
    SolveContext ctx = ContextFor(FromHighest({1, -6, 11, -6}));
    SolveBairstow(ctx, MethodOptions{});
    EXPECT_NEAR(ctx.w.T, 1, 1e-12) << "the factor (x - 1)(x - 2)";
    EXPECT_NE(ctx.w.D, 0);
}

// A tolerance of 0 is never beaten, so the first factor stops after 101 corrections.
TEST(SolveBairstow, HugeAccuracyEnds) {
    for (const char* accuracy : {"400", "99999"}) {
        SolveContext ctx = ContextFor(FromHighest({1, -6, 11, -6}));
        SolveBairstow(ctx, BairstowOptions(accuracy, "0", "0"));
        EXPECT_EQ(ctx.w.E, 0);
        EXPECT_EQ(ctx.status, "To many iterations needed");
        EXPECT_TRUE(ctx.lines.empty());
    }
}

TEST(SolveBairstow, OverflowShowsTheSolverBoxAndKeepsEarlierRoots) {
    const ErrorBox overflow{"Error  1001. Overflow", BoxIcon::Critical, "Error"};
    const struct {
        Polynomial a;
        MethodOptions options;
        Lines lines;
    } cases[] = {
        // P and Q far out make the first quotient overflow.
        {FromHighest({1, -6, 11, -6}), BairstowOptions("8", "1E300", "1E300"), {}},
        // A tolerance of 10^400.
        {FromHighest({1, -6, 11, -6}), BairstowOptions("-400", "0", "0"), {}},
        // (x - 2)(x - 3)(x - 1E39): the last root does not fit in single precision.
        {FromHighest({1, -1e39 - 5, 5e39 + 6, -6e39}),
         BairstowOptions("8", "-5", "6"),
         {"x1 = 3", "x2 = 2"}},
    };
    for (const auto& c : cases) {
        SolveContext ctx = ContextFor(c.a);
        SolveBairstow(ctx, c.options);
        EXPECT_EQ(ctx.lines, c.lines);
        EXPECT_EQ(ctx.status, "");
        ASSERT_EQ(ctx.errors.size(), 1u);
        EXPECT_EQ(ctx.errors[0], overflow);
    }
}

} // namespace
} // namespace valdrex
