#include "solver_test_support.h"
#include "solvers/approx/bairstow.h"
#include "solvers/approx/bisection.h"
#include "solvers/approx/newton.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <span>

namespace valdrex {
namespace {

using namespace testing;

enum Method { Bairstow, Bisection, Newton };

// The accuracy text and then the method's own texts in the order of its options dialog
// (Bairstow: P, Q; bisection: Min, Max, increment; Newton: X0); none for the defaults.
MethodOptions Options(Method method, const Texts& texts) {
    MethodOptions o;
    std::string* own[3][3] = {{&o.BairstowPText, &o.BairstowQText},
                              {&o.BisectionMinText, &o.BisectionMaxText, &o.BisectionIncText},
                              {&o.NewtonX0Text}};
    for (std::size_t i = 0; i < texts.size(); ++i)
        *(i == 0 ? &o.AccuracyText : own[method][i - 1]) = texts[i];
    return o;
}

SolveContext Solve(Method method, const V& highToLow, const Texts& texts = {}) {
    SolveContext ctx = FromHighest(highToLow);
    const MethodOptions o = Options(method, texts);
    method == Bairstow    ? SolveBairstow(ctx, o)
    : method == Bisection ? SolveBisection(ctx, o)
                          : SolveNewton(ctx, o);
    return ctx;
}

using Case = std::tuple<V, Texts, std::string>; // the polynomial, option texts, outcome

void ExpectOutcomes(Method method, std::span<const Case> cases) {
    for (const auto& [highToLow, texts, outcome] : cases)
        EXPECT_EQ(Outcome(Solve(method, highToLow, texts)), Expected(outcome))
            << ::testing::PrintToString(highToLow) << ::testing::PrintToString(texts);
}

const V k123{1, -6, 11, -6};
const V kX4Plus1{1, 0, 1, 0, 1};
const std::string kOverflow = "[] ! Error*: Error  1001. Overflow";

TEST(SolveBairstow, WorkedExamples) {
    const Case cases[] = {
        {k123, {}, "x1 = 2|x2 = 1|x3 = 3"},
        {{1, -10, 35, -50, 24}, {}, "x1 = 2|x2 = 1|x3 = 4|x4 = 3"},
        // (x^2 + 1)(x - 1)(x - 2): the complex pair is left out.
        {{1, -3, 3, -3, 2}, {}, "x1 = 2|x2 = 1"},
        {{1, 0, 0, -1}, {}, "[The Baristow method is unuseful]"},
        {kX4Plus1, {}, "[To many iterations needed]"},
        // (x^2 + 1)(x^2 + 4): no real root in either factor.
        {{1, 0, 5, 0, 4}, {}, "[No solution]"},
        // Start values at the factor (x - 2)(x - 3): it is taken first.
        {k123, {"8", "-5", "6"}, "x1 = 3|x2 = 2|x3 = 1"},
        // Unreadable option texts read as 0; an accuracy of "" or "0" is a tolerance of 1.
        {k123, {"8", "-", ""}, "x1 = 2|x2 = 1|x3 = 3"},
        {k123, {""}, "x1 = 1.851675|x2 = 1.014446|x3 = 3.507375"},
        {k123, {"0"}, "x1 = 1.851675|x2 = 1.014446|x3 = 3.507375"},
        {k123, {"3"}, "x1 = 2|x2 = 1|x3 = 3.000214"},
        // A tolerance of 0 is never beaten: the first factor stops after 101 corrections.
        {k123, {"400"}, "[To many iterations needed]"},
        {k123, {"99999"}, "[To many iterations needed]"},
        // Lower degrees go straight to the last factor.
        {{1, -3, 2}, {}, "x1 = 2|x2 = 1"},
        {{2, 5}, {}, "x1 =-2.5"},
        {{1, 0, 1}, {}, "[No solution]"},
        {{7}, {}, "[No solution]"},
        // P and Q far out make the first quotient overflow; so does a tolerance of 10^400.
        {k123, {"8", "1E300", "1E300"}, kOverflow},
        {k123, {"-400"}, kOverflow},
        // (x - 2)(x - 3)(x - 1E39): the last root does not fit in single precision.
        {{1, -1e39 - 5, 5e39 + 6, -6e39},
         {"8", "-5", "6"},
         "[] x1 = 3|x2 = 2 ! Error*: Error  1001. Overflow"},
    };
    ExpectOutcomes(Bairstow, cases);
}

TEST(SolveBisection, WorkedExamples) {
    const Case cases[] = {
        // Scan points hit the roots exactly.
        {k123, {"8", "-10", "10", "1"}, "x1 = 1|x2 = 2|x3 = 3"},
        // 1 and 2 are each found once, as the X of their step; 3 only by the check at Max.
        {k123, {"8", ".5", "3", ".5"}, "x1 = 1|x2 = 2|x3 = 3"},
        // Halving finds the roots in scan order; doubles print with up to 15 digits.
        {k123, {}, "x1 = 1.00000000298021|x2 = 2.00000000298021|x3 = 3.00000000298022"},
        {k123,
         {"8", "10", "-10", "-.1"},
         "x1 = 2.99999999701979|x2 = 1.99999999701979|x3 = .999999997019786"},
        {kX4Plus1, {}, "[No solution found]"},
        // An increment that cannot move X, or a direction against the interval, scans nothing.
        {k123, {"8", "-10", "10", "0"}, "[No solution found]"},
        {k123, {"8", "-10", "10", ""}, "[No solution found]"},
        {k123, {"8", "-10", "10", "-"}, "[No solution found]"},
        {k123, {"8", "1E17", "2E17", "1"}, "[No solution found]"},
        {k123, {"8", "10", "-10", "1"}, "[No solution found]"},
        {k123, {"8", "-10", "10", "-1"}, "[No solution found]"},
        // Tolerance 1: the first midpoint of the bracket [1, 2] of x^3 - 2x is narrow enough
        // once the bracket is [1, 1.5]. Tolerance 0 never holds: the halving ends where no
        // double lies between the ends.
        {{1, 0, -2, 0}, {"0", "1", "2", "1"}, "x1 = 1.25"},
        {{1, 0, -2, 0}, {"400", "1", "2", "1"}, "x1 = 1.41421356237309"},
        {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, {"8", "-1E30", "0", "1E29"}, kOverflow},
        // The root 1 is on the first scan point; the next point overflows P.
        {k123, {"8", "1", "1E300", "1E299"}, "[] x1 = 1 ! Error*: Error  1001. Overflow"},
        {k123, {"8", "1E999", "0", "1"}, kOverflow},
    };
    ExpectOutcomes(Bisection, cases);
}

TEST(SolveNewton, WorkedExamples) {
    const Case cases[] = {
        // The root near X0.
        {k123, {"8", "0"}, "x1 = 1"},
        {k123, {"8", "10"}, "x1 = 3"},
        {k123, {"8", ""}, "x1 = 1"},
        {k123, {"8", "-"}, "x1 = 1"},
        {k123, {"8", "2.1"}, "x1 = 2"},
        {{1, 0, 0, 0}, {}, "x1 = 0"},
        {kX4Plus1, {}, "[The Newton's method is unuseful]"},
        {kX4Plus1, {"8", ".5"}, "[Too many iterations needed]"},
        // Tolerance 0 is never beaten: 200 steps and no root.
        {k123, {"400"}, "[Too many iterations needed]"},
        {k123, {"8", "1E300"}, kOverflow},
        {k123, {"-400"}, kOverflow},
    };
    ExpectOutcomes(Newton, cases);
}

// Rounding noise near a 12-fold root makes more changes of sign than there are root texts.
TEST(SolveBisection, AThirteenthRootIsAFailure) {
    const V twelveFold{1, -12, 66, -220, 495, -792, 924, -792, 495, -220, 66, -12, 1};
    const SolveContext ctx = Solve(Bisection, twelveFold, {"8", ".9", "1.1", "1E-5"});
    EXPECT_EQ(ctx.lines.size(), 12u);
    EXPECT_EQ(ctx.status, "");
    const ErrorBox box{"Error  1004. Subscript out of range", BoxIcon::Critical, "Error", 1004,
                       "Subscript out of range"};
    EXPECT_EQ(ctx.errors, std::vector{box});
}

TEST(SolveBisection, ReportsProgressAndCanBeCancelled) {
    // (100x - 1)(x^2 + 1): one root at .01, 200,000 steps from 0 to .2.
    const MethodOptions options = Options(Bisection, {"8", "0", ".2", "1E-6"});
    std::vector<double> shares;
    const auto record = [&](double share) {
        shares.push_back(share);
        return true;
    };
    SolveContext all = FromHighest({100, -1, 100, -1});
    SolveBisection(all, options, record);
    EXPECT_EQ(Outcome(all), "[Solutions found] x1 = .0100000039062491");
    ASSERT_EQ(shares.size(), 3u); // every 65,536 steps
    EXPECT_NEAR(shares[0], 65536 / 200000.0, 1e-6);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    // The share counts from Min: x^2 + 1 scanned from 1 to 1.2.
    shares.clear();
    SolveContext fromOne = FromHighest({1, 0, 1});
    SolveBisection(fromOne, Options(Bisection, {"8", "1", "1.2", "1E-6"}), record);
    ASSERT_EQ(shares.size(), 3u);
    EXPECT_NEAR(shares[0], 65536 / 200000.0, 1e-6);
    EXPECT_FALSE(fromOne.cancelled);
    SolveContext cancelled = FromHighest({100, -1, 100, -1});
    SolveBisection(cancelled, options, [](double) { return false; });
    EXPECT_EQ(cancelled.status, kScanCancelledStatus);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(cancelled.lines, all.lines); // the root before the first report stays
}

} // namespace
} // namespace valdrex
