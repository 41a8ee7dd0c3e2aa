#include "solver_test_support.h"
#include "solvers/exact/exact_solver.h"

#include <gtest/gtest.h>

namespace valdrex {
namespace {

using namespace testing;

SolveContext Solved(const V& lowToHigh, bool symbolic = true) {
    SolveContext ctx = MakeContext(lowToHigh, symbolic);
    SolveExact(ctx);
    return ctx;
}

// Coefficients from a(0) upward, the expected outcome, and the symbolic switch.
struct WorkedExample {
    V lowToHigh;
    std::string outcome;
    bool symbolic = true;
};

const WorkedExample kWorkedExamples[] = {
    // Dispatch by the highest non-zero coefficient among a(0)..a(4).
    {{}, "[The equation is undetermined]"},
    {{5}, "[The equation is impossible]"},
    {{-4, 2}, "[] x1 = 2"},
    {{5, 2}, "[] x1 =-2.5"},
    {{4, 3}, "[] x1 =-1.333333"},
    {{0, 7}, "[] x1 = 0"},
    {{-4, 2, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 1}, "[] x1 = 2"},
    {{-1e39, 1}, "[] ! Error*: Error  1001. Overflow"},
    // Quadratic, numeric form.
    {{2, -3, 1}, "x1 = 1|x2 = 2", false},
    {{-2, 3, -1}, "x1 = 1|x2 = 2", false},
    {{1, -2, 1}, "x1 = 1|x2 = 1", false},
    {{5, 2, 1}, "x1 =-1+ 2i|x2 =-1- 2i", false},
    {{4, 0, 1}, "x1 = 2i|x2 =- 2i", false},
    {{3, 0, 1}, "x1 = 1.732051i|x2 =- 1.732051i", false},
    {{1, 0, 3}, "x1 = .5773503i|x2 =- .5773503i", false},
    {{0, -1, 1}, "x1 = 0|x2 = 1", false},
    {{-1, 0, 3}, "x1 =-.5773503|x2 = .5773503", false},
    // The smaller root is 0; the other lies beyond single precision.
    {{0, -1e40, 1}, "[] x1 = 0 ! Valdrex: 1001. Overflow", false},
    // Quadratic, symbolic form.
    {{3, 2, 1}, "x1 =-1+ i·Sqr(2)|x2 =-1- i·Sqr(2)"},
    {{5, 2, 1}, "x1 =-1+2i|x2 =-1-2i"},
    {{1, -3, 2}, "x1 = 1|x2 = 1/ 2"},
    {{2, -3, 1}, "x1 = 2|x2 = 1"},
    {{-1, -2, 2}, "x1 = 1/ 2+ Sqr(3) /2|x2 = 1/ 2- Sqr(3) /2"},
    {{-2, 0, 1}, "x1 =+ Sqr(2)|x2 =- Sqr(2)"},
    // S4 with Δ = 0: both roots from the same numerator.
    {{1, -2, 1}, "x1 = 1|x2 = 1"},
    {{9, 6, 1}, "x1 =-3|x2 =-3"},
    // S1 keeping a factor and a denominator: 3x² + x + 1 has Δ = -11.
    {{1, 1, 3}, "x1 =-1/6+ i·Sqr(11) /6|x2 =-1/6- i·Sqr(11) /6"},
    // S1 with a factor k: x² + 2x + 19 has Δ = -72 = -6²·2.
    {{19, 2, 1}, "x1 =-1+ 3i·Sqr(2)|x2 =-1- 3i·Sqr(2)"},
    // S2 with a denominator left: 4x² + 1 has Δ = -16.
    {{1, 0, 4}, "x1 =+i /2|x2 =-i /2"},
    {{5, 2, 2}, "x1 =-1/2+3i /2|x2 =-1/2-3i /2"},
    // A real part whose numerator is 1 keeps its denominator.
    {{1, -1, 1}, "x1 =1/2+ i·Sqr(3) /2|x2 =1/2- i·Sqr(3) /2"},
    {{1, -2, 2}, "x1 =1/2+i /2|x2 =1/2-i /2"},
    // S3 with a factor before the root: x² + 2x - 7 has Δ = 32 = 4²·2.
    {{-7, 2, 1}, "x1 =-1+ 2·Sqr(2)|x2 =-1- 2·Sqr(2)"},
    // S3 with a(1) = 0 and a denominator: 2x² - 3 has Δ = 24 = 2²·6.
    {{-3, 0, 2}, "x1 =+ Sqr(6) /2|x2 =- Sqr(6) /2"},
    {{0, 0, 1}, "x1 = 0|x2 = 0"},
    // x² + 0.5x - 0.5 (as the quartic hands it over) is reduced with Gcd on doubles.
    {{-0.5, 0.5, 1}, "x1 = 1/ 2|x2 =-1"},
    // Δ = 1073676285 is scanned up to 32766; ±1073676293 would need 32767, which overflows.
    {{-268419071, 1, 1}, "x1 =-1/ 2+ 3·Sqr(119297365) /2|x2 =-1/ 2- 3·Sqr(119297365) /2"},
    {{-268419073, 1, 1}, "[] ! Valdrex: 1001. Overflow"},
    {{268419073, 1, 1}, "[] ! Valdrex: 1001. Overflow"},
    // Cubic: each discriminant case.
    {{-6, 11, -6, 1}, "x1 = 1|x2 = 2|x3 = 3"},
    {{6, -11, 6, -1}, "x1 = 1|x2 = 2|x3 = 3"},
    {{2, -3, 0, 1}, "x1 =-2|x2 = 1|x3 = 1"},
    {{-8, 0, 0, 1}, "x1 = 2|x2 =-1+1.732051i|x3 =-1-1.732051i"},
    // The pair's real part is exactly 0: (x + 3)(x² + 1).
    {{3, 1, 3, 1}, "x1 =-3|x2 =1i|x3 =-1i"},
    // Root 0 split off; the quadratic that is left follows the symbolic switch.
    {{0, 3, 0, 1}, "x1 = 1.732051i|x2 =- 1.732051i|x3 = 0", false},
    {{0, 3, 0, 1}, "x1 =+ i·Sqr(3)|x2 =- i·Sqr(3)|x3 = 0"},
    {{0, 2, -3, 1}, "x1 = 2|x2 = 1|x3 = 0"},
    {{0, 0, 0, 1}, "x1 = 0|x2 = 0|x3 = 0"},
    {{0, 0, 0, -2}, "x1 = 0|x2 = 0|x3 = 0"},
    // (x - 1)(x² + 1e80): the imaginary part 1e40 is beyond single precision. At this size
    // u + v cancels to 0, so the real root printed is -B/3.
    {{-1e80, 1e80, -1, 1}, "[] x1 = .3333333 ! Error*: Error  1001. Overflow"},
    // The quadratic left after root 0 fails with its own box; the cubic goes on.
    {{0, 0, -1e40, 1}, "x1 = 0|x3 = 0 ! Valdrex: 1001. Overflow", false},
    // Quartic: biquadratic.
    {{4, 0, -5, 0, 1}, "x1 = 2|x2 =-2|x3 = 1|x4 =-1"},
    {{-4, 0, 5, 0, -1}, "x1 = 2|x2 =-2|x3 = 1|x4 =-1"},
    {{4, 0, 5, 0, 1}, "x1 = 1i|x2 =-1i|x3 = 2i|x4 =-2i"},
    {{4, 0, 0, 0, 1}, "x1 = 1+ 1i|x2 = 1- 1i|x3 =-1+ 1i|x4 =-1- 1i"},
    // a(0) = 0 still takes this way, never the double root 0.
    {{0, 0, 1, 0, 1}, "x1 = 0|x2 = 0|x3 = 1i|x4 =-1i"},
    // y = x² complex with a real part: each root keeps it before the imaginary part.
    {{400000004, 0, -799960008, 0, 399960005},
     "x1 = 1.000025+ 7.450395E-09i|x2 = 1.000025- 7.450395E-09i|x3 =-1.000025+ 7.450395E-09i|"
     "x4 =-1.000025- 7.450395E-09i"},
    {{0, 0, 0, 0, 1}, "x1 = 0|x2 = 0|x3 = 0|x4 = 0"},
    {{0, 0, 0, 0, -3}, "x1 = 0|x2 = 0|x3 = 0|x4 = 0"},
    // A double y: D4 = 0 forces Δb to 0, (x² - 2)².
    {{4, 0, -4, 0, 1}, "x1 = 1.414214|x2 =-1.414214|x3 = 1.414214|x4 =-1.414214"},
    // Zero roots split off: way B hands x² - x to the quadratic, way C x³ - 1 to the cubic.
    {{0, 0, 0, -1, 1}, "x1 = 0|x2 = 1|x3 = 0|x4 = 0", false},
    {{0, 0, 0, -1, 1}, "x1 = 1|x2 = 0|x3 = 0|x4 = 0"},
    {{0, 0, -2, 1, 1}, "x1 =-2|x2 = 1|x3 = 0|x4 = 0", false},
    {{0, -1, 0, 0, 1}, "x1 = 1|x2 =-.5+0.8660254i|x3 =-.5-0.8660254i|x4 = 0"},
    {{0, -6, 7, 0, -1}, "x1 =-3|x2 = 1|x3 = 2|x4 = 0"},
    // Way B hands 3x² - 23x - 8 over with a(2) = 1: the whole-root test must use -a(1) + √Δ.
    {{0, 0, -8, -23, 3}, "x1 = 8|x2 =-750599937895083/ 2.25179981368525E+15|x3 = 0|x4 = 0"},
    // Way B's radicand 1073676293 overflows; way C's root 1e40 is beyond single precision.
    {{0, 0, -268419073, 1, 1}, "x3 = 0|x4 = 0 ! Valdrex: 1001. Overflow"},
    {{0, -1e120, 0, 0, 1}, "x4 = 0 ! Error*: Error  1001. Overflow"},
    // Descartes' method: four real roots.
    {{24, -50, 35, -10, 1}, "x1 = .9999999|x2 = 4|x3 = 3|x4 = 2"},
    {{3, 12, -3, -10, 1}, "x1 = 10.17608|x2 =-1.055901|x3 = 1.12746|x4 =-.2476375"},
    // No x term, and no constant: neither has x² for a factor.
    {{1, 0, 1, 1, 1},
     "x1 = .351808+ .7203417i|x2 = .351808- .7203417i|x3 =-.851808+ .9112921i|"
     "x4 =-.851808- .9112921i"},
    {{0, 1, 1, 1, 1}, "x1 =-1|x2 =-1.110223E-16+1i|x3 =-1.110223E-16-1i|x4 = 0"},
    {{-1, -8, 6, 11, 1}, "x1 =-10.34625|x2 = .679582|x3 =-.1169215|x4 =-1.216413"},
    // Two pairs, with and without exchanging the imaginary parts.
    {{4, -7, 11, -1, 1},
     "x1 = .3305523+ .5250556i|x2 = .3305523- .5250556i|x3 = .1694477+ 3.219052i|"
     "x4 = .1694477- 3.219052i"},
    {{6, 11, 8, 0, 1},
     "x1 = .6553348+ 2.93697i|x2 = .6553348- 2.93697i|x3 =-.6553348+ .4828405i|"
     "x4 =-.6553348- .4828405i"},
    // A resolvent root exactly 0: equal imaginary parts, then equal real parts.
    {{9, 12, 10, 4, 1}, "x1 =-1+ 1.414214i|x2 =-1- 1.414214i|x3 =-1+ 1.414214i|x4 =-1- 1.414214i"},
    {{4, -10, 9, -4, 1}, "x1 = 1+ 0i|x2 = 1- 0i|x3 = 1+ 1.732051i|x4 = 1- 1.732051i"},
    // Two real roots and a pair: root 3's real part has its "0" and no blank.
    {{-2, -10, 0, -7, 1},
     "x1 = 7.198352|x2 =-.1946906|x3 =-0.001830529+ 1.194608i|x4 =-.001830529- 1.194608i"},
    {{11, -10, 9, 10, 1},
     "x1 =-8.837661|x2 =-2.068406|x3 = .4530333+ .6296949i|x4 = .4530333- .6296949i"},
    // The pair's real part is exactly 0: (x + 4)(x + 2)(x² + 2).
    {{16, 12, 10, 6, 1}, "x1 =-4|x2 =-2|x3 = 1.414214i|x4 =- 1.414214i"},
    // Multiple roots put values on the formulas' boundaries; rounding must not fail them.
    {{-2, 5, -4, 1}, "x1 = 1|x2 = 1|x3 = 2", false},
    {{4, -12, 13, -6, 1},
     "x1 = 2+ 0i|x2 = 2- 0i|x3 = 1+ 7.450581E-09i|x4 = 1- 7.450581E-09i",
     false},
    {{-1, 3, -3, 1}, "x1 = 1|x2 = 1|x3 = 1", false},
    {{4, 4, 5, 4, 1}, "x1 = 1i|x2 =- 1i|x3 =-2+ 4.32987E-15i|x4 =-2- 4.32987E-15i", false},
    {{1, -4, 6, -4, 1}, "x1 = 1|x2 = 1|x3 = 1|x4 = 1", false},
    // (x+7)²(x-3): a cosine of exactly -1 in the cubic's trigonometric form.
    {{-147, 7, 11, 1}, "x1 =-7|x2 =-7|x3 = 3", false},
    // (x-4)(x+9)²: a slightly negative radicand of the cubic's imaginary part.
    {{-324, 9, 14, 1}, "x1 = 4|x2 =-9+0i|x3 =-9-0i", false},
    // (x²-x+5)²: the resolvent's pair is a double root 0 that rounding turned complex.
    {{25, -10, 11, -2, 1},
     "x1 = .5+ 2.17945i|x2 = .5- 2.17945i|x3 = .5+ 2.17945i|x4 = .5- 2.17945i",
     false},
    // (x-9)(x+8)(x²-x+6): the resolvent's real root is a zero that came out below 0.
    {{-432, 66, -65, -2, 1}, "x1 = 9|x2 =-8|x3 =0.5+ 2.397916i|x4 = .5- 2.397916i", false},
    // (x²+x+7)(x²+x+8): all three resolvent roots negative, the largest only by rounding.
    {{56, 15, 16, 2, 1},
     "x1 =-.5+ 2.783882i|x2 =-.5- 2.783882i|x3 =-.5+ 2.598076i|x4 =-.5- 2.598076i",
     false},
    // (x-5)(x-6)(x+7)(x+8): a zero resolvent root below 0 beside two positive ones.
    {{1680, -166, -79, 4, 1}, "x1 = 6|x2 =-8|x3 = 5|x4 =-7", false},
};

void PrintTo(const WorkedExample& c, std::ostream* out) {
    *out << c.outcome;
}

class SolveExact : public ::testing::TestWithParam<WorkedExample> {};

TEST_P(SolveExact, WorkedExample) {
    const WorkedExample& c = GetParam();
    EXPECT_EQ(Outcome(Solved(c.lowToHigh, c.symbolic)), Expected(c.outcome));
}

// A failure names the case by its form and coefficients, e.g. Symbolic_a_m2_0_1 for x^2 - 2.
INSTANTIATE_TEST_SUITE_P(Cases, SolveExact, ::testing::ValuesIn(kWorkedExamples),
                         [](const auto& info) {
                             return (info.param.symbolic ? "Symbolic_a" : "Numeric_a") +
                                    CaseName(info.param.lowToHigh);
                         });

} // namespace
} // namespace valdrex
