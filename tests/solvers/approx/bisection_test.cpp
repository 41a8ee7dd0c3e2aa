#include "core/number_text.h"
#include "polynomial_builder.h"
#include "solvers/approx/bisection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace valdrex {
namespace {

using Lines = std::vector<std::string>;

MethodOptions Interval(std::string min, std::string max, std::string inc,
                       std::string accuracy = "8") {
    MethodOptions o;
    o.BisectionMinText = std::move(min);
    o.BisectionMaxText = std::move(max);
    o.BisectionIncText = std::move(inc);
    o.AccuracyText = std::move(accuracy);
    return o;
}

const Polynomial kOneTwoThree = FromHighest({1, -6, 11, -6});

std::vector<double> ListedValues(const SolveContext& ctx) {
    std::vector<double> values;
    for (std::size_t k = 1; k <= ctx.lines.size(); ++k)
        values.push_back(TextToNumber(ctx.SolText[k]));
    return values;
}

TEST(SolveBisection, ExactLines) {
    const struct {
        Polynomial a;
        MethodOptions options;
        Lines lines;
        std::string status;
    } cases[] = {
        // Scan points hit the roots exactly.
        {kOneTwoThree,
         Interval("-10", "10", "1"),
         {"x1 = 1", "x2 = 2", "x3 = 3"},
         "Solutions found"},
        // 1 and 2 are each found once, as the X of their step; 3 only by the check at Max.
        {kOneTwoThree,
         Interval(".5", "3", ".5"),
         {"x1 = 1", "x2 = 2", "x3 = 3"},
         "Solutions found"},
        {FromHighest({1, 0, 1, 0, 1}), MethodOptions{}, {}, "No solution found"},
        // An increment that cannot move X scans nothing.
        {kOneTwoThree, Interval("-10", "10", "0"), {}, "No solution found"},
        {kOneTwoThree, Interval("-10", "10", ""), {}, "No solution found"},
        {kOneTwoThree, Interval("-10", "10", "-"), {}, "No solution found"},
        {kOneTwoThree, Interval("1E17", "2E17", "1"), {}, "No solution found"},
        // A direction against the interval makes no step.
        {kOneTwoThree, Interval("10", "-10", "1"), {}, "No solution found"},
        {kOneTwoThree, Interval("-10", "10", "-1"), {}, "No solution found"},
        // Tolerance 1: the first midpoint of the bracket [1, 2] of x^3 - 2x is narrow enough
        // once the bracket is [1, 1.5].
        {FromHighest({1, 0, -2, 0}),
         Interval("1", "2", "1", "0"),
         {"x1 = 1.25"},
         "Solutions found"},
    };
    for (const auto& c : cases) {
        SolveContext ctx = ContextFor(c.a);
        SolveBisection(ctx, c.options);
        EXPECT_EQ(ctx.lines, c.lines);
        EXPECT_EQ(ctx.status, c.status);
        EXPECT_TRUE(ctx.errors.empty());
    }
}

TEST(SolveBisection, HalvingFindsRootsInScanOrder) {
    const struct {
        MethodOptions options;
        std::vector<double> roots;
    } cases[] = {
        {MethodOptions{}, {1, 2, 3}},
        {Interval("10", "-10", "-.1"), {3, 2, 1}},
    };
    for (const auto& c : cases) {
        SolveContext ctx = ContextFor(kOneTwoThree);
        SolveBisection(ctx, c.options);
        EXPECT_EQ(ctx.status, "Solutions found");
        const std::vector<double> values = ListedValues(ctx);
        ASSERT_EQ(values.size(), c.roots.size());
        for (std::size_t k = 0; k < values.size(); ++k) {
            EXPECT_NEAR(values[k], c.roots[k], 1e-8);
            // Doubles are printed with up to 15 digits, not rounded to single precision.
            EXPECT_EQ(ctx.SolText[k + 1], NumberToStr(values[k]));
        }
    }
}

// Tolerance 0 never holds; the halving ends where no Double lies between the ends.
TEST(SolveBisection, HugeAccuracyEndsAtAdjacentDoubles) {
    SolveContext ctx = ContextFor(FromHighest({1, 0, -2, 0}));
    SolveBisection(ctx, Interval("1", "2", "1", "400"));
    ASSERT_EQ(ctx.lines.size(), 1u);
    EXPECT_NEAR(TextToNumber(ctx.SolText[1]), std::sqrt(2.0), 1e-14);
    EXPECT_EQ(ctx.status, "Solutions found");
}

TEST(SolveBisection, FailuresKeepEarlierRoots) {
    const struct {
        Polynomial a;
        MethodOptions options;
        Lines lines;
        std::string box;
    } cases[] = {
        {FromHighest({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}),
         Interval("-1E30", "0", "1E29"),
         {},
         "Error  1001. Overflow"},
        // The root 1 is on the first scan point; the next point overflows P.
        {kOneTwoThree, Interval("1", "1E300", "1E299"), {"x1 = 1"}, "Error  1001. Overflow"},
        {kOneTwoThree, Interval("1E999", "0", "1"), {}, "Error  1001. Overflow"},
    };
    for (const auto& c : cases) {
        SolveContext ctx = ContextFor(c.a);
        SolveBisection(ctx, c.options);
        EXPECT_EQ(ctx.lines, c.lines);
        EXPECT_EQ(ctx.status, "");
        ASSERT_EQ(ctx.errors.size(), 1u);
        EXPECT_EQ(ctx.errors[0], (ErrorBox{c.box, BoxIcon::Critical, "Error"}));
    }
}

// Rounding noise near a 12-fold root makes more changes of sign than there are root texts.
TEST(SolveBisection, AThirteenthRootIsAFailure) {
    SolveContext ctx =
        ContextFor(FromHighest({1, -12, 66, -220, 495, -792, 924, -792, 495, -220, 66, -12, 1}));
    SolveBisection(ctx, Interval(".9", "1.1", "1E-5"));
    EXPECT_EQ(ctx.lines.size(), 12u);
    EXPECT_EQ(ctx.status, "");
    ASSERT_EQ(ctx.errors.size(), 1u);
    EXPECT_EQ(ctx.errors[0].text, "Error  1004. Subscript out of range");
}

TEST(SolveBisection, ReportsProgressAndCanBeCancelled) {
    // (100x - 1)(x^2 + 1): one root at .01, 200,000 steps from 0 to .2.
    const Polynomial a = FromHighest({100, -1, 100, -1});
    const MethodOptions options = Interval("0", ".2", "1E-6");

    std::vector<double> shares;
    SolveContext all = ContextFor(a);
    SolveBisection(all, options, [&](double share) {
        shares.push_back(share);
        return true;
    });
    EXPECT_EQ(all.status, "Solutions found");
    EXPECT_EQ(all.lines.size(), 1u);
    ASSERT_EQ(shares.size(), 3u); // every 65,536 steps
    EXPECT_NEAR(shares[0], 65536 / 200000.0, 1e-6);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));

    SolveContext cancelled = ContextFor(a);
    SolveBisection(cancelled, options, [](double) { return false; });
    EXPECT_EQ(cancelled.status, kScanCancelledStatus);
    EXPECT_EQ(cancelled.lines, all.lines) << "the root before the first report stays";
}

} // namespace
} // namespace valdrex
