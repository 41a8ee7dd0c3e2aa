#include "core/number_text.h"
#include "polynomial_builder.h"
#include "solvers/approx/newton.h"

#include <gtest/gtest.h>

#include <string>

namespace valdrex {
namespace {

MethodOptions StartAt(std::string x0, std::string accuracy = "8") {
    MethodOptions o;
    o.NewtonX0Text = std::move(x0);
    o.AccuracyText = std::move(accuracy);
    return o;
}

const Polynomial kOneTwoThree = FromHighest({1, -6, 11, -6});

TEST(SolveNewton, ConvergesToTheNearRoot) {
    const struct {
        std::string x0;
        double root;
    } cases[] = {{"0", 1}, {"10", 3}, {"", 1}, {"-", 1}, {"2.1", 2}};
    for (const auto& c : cases) {
        SolveContext ctx = ContextFor(kOneTwoThree);
        SolveNewton(ctx, StartAt(c.x0));
        EXPECT_EQ(ctx.status, "Solutions found");
        ASSERT_EQ(ctx.lines.size(), 1u);
        EXPECT_EQ(ctx.lines[0], "x1 =" + ctx.SolText[1]);
        EXPECT_NEAR(TextToNumber(ctx.SolText[1]), c.root, 1e-8);
        EXPECT_EQ(ctx.w.E, 1e-8);
    }
}

TEST(SolveNewton, StatusTexts) {
    const struct {
        Polynomial a;
        MethodOptions options;
        std::string line;
        std::string status;
    } cases[] = {
        {FromHighest({1, 0, 0, 0}), StartAt("0"), "x1 = 0", "Solutions found"},
        {FromHighest({1, 0, 1, 0, 1}), StartAt("0"), "", "The Newton's method is unuseful"},
        {FromHighest({1, 0, 1, 0, 1}), StartAt(".5"), "", "Too many iterations needed"},
        // Tolerance 0 is never beaten: 200 steps and no root.
        {kOneTwoThree, StartAt("0", "400"), "", "Too many iterations needed"},
    };
    for (const auto& c : cases) {
        SolveContext ctx = ContextFor(c.a);
        SolveNewton(ctx, c.options);
        EXPECT_EQ(ctx.lines.empty() ? "" : ctx.lines[0], c.line);
        EXPECT_EQ(ctx.status, c.status);
        EXPECT_TRUE(ctx.errors.empty());
    }
}

TEST(SolveNewton, OverflowEndsWithoutRoot) {
    const MethodOptions cases[] = {StartAt("1E300"), StartAt("0", "-400")};
    for (const auto& options : cases) {
        SolveContext ctx = ContextFor(kOneTwoThree);
        SolveNewton(ctx, options);
        EXPECT_TRUE(ctx.lines.empty());
        EXPECT_EQ(ctx.status, "");
        ASSERT_EQ(ctx.errors.size(), 1u);
        EXPECT_EQ(ctx.errors[0], (ErrorBox{"Error  1001. Overflow", BoxIcon::Critical, "Error"}));
    }
}

} // namespace
} // namespace valdrex
