#include "cli/method_offer.h"

#include <gtest/gtest.h>

namespace valdrex::cli {
namespace {

TEST(MethodOfferTest, FollowsTheMathsMenu) {
    const MathsMenuState quadratic{2};
    const MathsMenuState quartic{4};
    const MathsMenuState sextic{6};
    EXPECT_FALSE(MethodNotOfferedMessage(SolveMethod::Exact, quadratic));
    EXPECT_FALSE(MethodNotOfferedMessage(SolveMethod::Rational, sextic));
    for (const SolveMethod m : {SolveMethod::Exact, SolveMethod::Rational, SolveMethod::Bairstow,
                                SolveMethod::Bisection, SolveMethod::Newton, SolveMethod::AllRoots})
        EXPECT_FALSE(MethodNotOfferedMessage(m, quartic));

    EXPECT_EQ(MethodNotOfferedMessage(SolveMethod::Exact, sextic),
              "the exact method is not offered for this equation: the formulas solve degree 4 at "
              "most, and a coefficient of x^5 or above is not zero; offered: rational, bairstow, "
              "bisection, newton and all");
    EXPECT_EQ(MethodNotOfferedMessage(SolveMethod::Newton, quadratic),
              "the newton method is not offered for this equation: the approximate methods need "
              "a non-zero coefficient of x^3 or above; offered: exact, rational and all");
}

} // namespace
} // namespace valdrex::cli
