#include "solver_test_support.h"
#include "solvers/exact/quadratic.h"
#include "solvers/exact/quadratic_symbolic.h"

#include "core/failure.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace valdrex {
namespace {

using testing::MakeContext;

struct QuadraticCase {
    std::vector<double> lowToHigh;
    bool symbolic;
    std::vector<std::string> lines;
};

void ExpectSolved(const QuadraticCase& c) {
    auto ctx = MakeContext(c.lowToHigh, c.symbolic);
    SolveQuadratic(ctx);
    const std::string where = ::testing::PrintToString(c.lowToHigh) + (c.symbolic ? " S" : " N");
    EXPECT_EQ(ctx.lines, c.lines) << where;
    EXPECT_EQ(ctx.status, "Solutions found") << where;
    EXPECT_TRUE(ctx.errors.empty()) << where;
    for (std::size_t k = 1; k <= c.lines.size(); ++k)
        EXPECT_EQ("x" + std::to_string(k) + " =" + ctx.SolText[k], c.lines[k - 1]) << where;
}

TEST(SolveQuadratic, WritesTheNumericForm) {
    const QuadraticCase cases[] = {
        {{2, -3, 1}, false, {"x1 = 1", "x2 = 2"}},
        {{-2, 3, -1}, false, {"x1 = 1", "x2 = 2"}},
        {{1, -2, 1}, false, {"x1 = 1", "x2 = 1"}},
        {{5, 2, 1}, false, {"x1 =-1+ 2i", "x2 =-1- 2i"}},
        {{4, 0, 1}, false, {"x1 = 2i", "x2 =- 2i"}},
        {{3, 0, 1}, false, {"x1 = 1.732051i", "x2 =- 1.732051i"}},
        {{1, 0, 3}, false, {"x1 = .5773503i", "x2 =- .5773503i"}},
        {{0, -1, 1}, false, {"x1 = 0", "x2 = 1"}},
        {{-1, 0, 3}, false, {"x1 =-.5773503", "x2 = .5773503"}},
    };
    for (const auto& c : cases)
        ExpectSolved(c);
}

TEST(SolveQuadratic, WritesTheSymbolicForm) {
    const QuadraticCase cases[] = {
        {{3, 2, 1}, true, {"x1 =-1+ i·Sqr(2)", "x2 =-1- i·Sqr(2)"}},
        {{5, 2, 1}, true, {"x1 =-1+2i", "x2 =-1-2i"}},
        {{1, -3, 2}, true, {"x1 = 1", "x2 = 1/ 2"}},
        {{2, -3, 1}, true, {"x1 = 2", "x2 = 1"}},
        {{-1, -2, 2}, true, {"x1 = 1/ 2+ Sqr(3) /2", "x2 = 1/ 2- Sqr(3) /2"}},
        {{-2, 0, 1}, true, {"x1 =+ Sqr(2)", "x2 =- Sqr(2)"}},
        // S4 with Δ = 0: both roots from the same numerator.
        {{1, -2, 1}, true, {"x1 = 1", "x2 = 1"}},
        {{9, 6, 1}, true, {"x1 =-3", "x2 =-3"}},
        // S1 keeping a factor and a denominator: 3x² + x + 1 has Δ = -11.
        {{1, 1, 3}, true, {"x1 =-1/6+ i·Sqr(11) /6", "x2 =-1/6- i·Sqr(11) /6"}},
        // S1 with a factor k: x² + 2x + 19 has Δ = -72 = -6²·2.
        {{19, 2, 1}, true, {"x1 =-1+ 3i·Sqr(2)", "x2 =-1- 3i·Sqr(2)"}},
        // S2 with a denominator left: 4x² + 1 has Δ = -16.
        {{1, 0, 4}, true, {"x1 =+i /2", "x2 =-i /2"}},
        {{5, 2, 2}, true, {"x1 =-1/2+3i /2", "x2 =-1/2-3i /2"}},
        // S3 with a factor before the root: x² + 2x - 7 has Δ = 32 = 4²·2.
        {{-7, 2, 1}, true, {"x1 =-1+ 2·Sqr(2)", "x2 =-1- 2·Sqr(2)"}},
        // S3 with a(1) = 0 and a denominator: 2x² - 3 has Δ = 24 = 2²·6.
        {{-3, 0, 2}, true, {"x1 =+ Sqr(6) /2", "x2 =- Sqr(6) /2"}},
        {{0, 0, 1}, true, {"x1 = 0", "x2 = 0"}},
    };
    for (const auto& c : cases)
        ExpectSolved(c);
}

TEST(SolveQuadratic, WorkedSymbolicExampleCharacterByCharacter) {
    auto ctx = MakeContext({-1, -2, 2});
    SolveQuadratic(ctx);
    const std::string expected = {'x', '1', ' ', '=', ' ', '1', '/', ' ', '2', '+',
                                  ' ', 'S', 'q', 'r', '(', '3', ')', ' ', '/', '2'};
    ASSERT_EQ(ctx.lines.size(), 2u);
    EXPECT_EQ(ctx.lines[0], expected);
    EXPECT_EQ(ctx.SolText[1], " 1/ 2+ Sqr(3) /2");
    EXPECT_EQ(ctx.SolText[2], " 1/ 2- Sqr(3) /2");
    EXPECT_EQ(ctx.status, "Solutions found");
    // a(1) was reduced by Gcd(-2, 4) = 2 in place; D stays 2·a(2).
    EXPECT_EQ(ctx.a[1], -1);
    EXPECT_EQ(ctx.w.D, 4);
}

TEST(SolveQuadratic, LeavesItsWorkingValues) {
    auto negated = MakeContext({-2, 3, -1}, false);
    SolveQuadratic(negated);
    EXPECT_EQ(negated.a[0], 2);
    EXPECT_EQ(negated.a[1], -3);
    EXPECT_EQ(negated.a[2], 1);
    EXPECT_EQ(negated.w.RootValues[0], 1);
    EXPECT_EQ(negated.w.RootValues[1], 2);

    // S1 keeps the reduced D; S2 keeps 2·a(2).
    auto s1 = MakeContext({3, 2, 1});
    SolveQuadratic(s1);
    EXPECT_EQ(s1.w.D, 1);
    auto s2 = MakeContext({5, 2, 1});
    SolveQuadratic(s2);
    EXPECT_EQ(s2.w.D, 2);
}

TEST(SolveQuadratic, ReducesNonWholeCoefficientsWithGcdOnDoubles) {
    // x² + 0.5x - 0.5 (as handed over by the quartic solver): Δ = 2.25, t = 1, rational roots.
    auto ctx = MakeContext({-0.5, 0.5, 1});
    SolveQuadratic(ctx);
    EXPECT_EQ(ctx.lines, (std::vector<std::string>{"x1 = 1/ 2", "x2 =-1"}));
    EXPECT_TRUE(ctx.errors.empty());
}

TEST(SolveQuadratic, RadicandLimitOfTheFactorScan) {
    // Δ = 1 + 4·268419071 = 1073676285 is scanned up to 32766.
    auto below = MakeContext({-268419071, 1, 1});
    SolveQuadratic(below);
    EXPECT_EQ(below.lines.size(), 2u);
    EXPECT_TRUE(below.errors.empty());

    // Δ = 1073676293 and Δ = -1073676291 need a scan up to 32767, which overflows.
    for (double a0 : {-268419073.0, 268419073.0}) {
        auto above = MakeContext({a0, 1, 1});
        SolveQuadratic(above);
        EXPECT_TRUE(above.lines.empty()) << a0;
        EXPECT_EQ(above.status, "") << a0;
        ASSERT_EQ(above.errors.size(), 1u) << a0;
        EXPECT_EQ(above.errors[0], (ErrorBox{"1001. Overflow", BoxIcon::None, "Valdrex"}));
    }
}

TEST(SolveQuadratic, KeepsTheLinesWrittenBeforeAFailure) {
    // The smaller root is 0; the other lies beyond single precision.
    auto ctx = MakeContext({0, -1e40, 1}, false);
    SolveQuadratic(ctx);
    EXPECT_EQ(ctx.lines, std::vector<std::string>{"x1 = 0"});
    EXPECT_EQ(ctx.status, "");
    ASSERT_EQ(ctx.errors.size(), 1u);
    EXPECT_EQ(ctx.errors[0].text, "1001. Overflow");
}

TEST(ExtractSquareFactor, TakesOutEverySquare) {
    const struct {
        double radicand, rest, factor;
    } cases[] = {
        {12, 3, 2},
        {8, 2, 2},
        {72, 2, 6},
        {1, 1, 1},
        {0, 0, 1},
        {2, 2, 1},
        {4, 1, 2},
        {48, 3, 4},
        {1073676288, 16383, 256},
        {32765.0 * 32765, 1, 32765},
    };
    for (const auto& c : cases) {
        const SquareFactor sf = ExtractSquareFactor(c.radicand);
        EXPECT_EQ(sf.radicand, c.rest) << c.radicand;
        EXPECT_EQ(sf.factor, c.factor) << c.radicand;
    }
}

TEST(ExtractSquareFactor, OverflowsFrom32767Squared) {
    for (double radicand : {1073676289.0, 1073676290.0, 1e12}) {
        try {
            ExtractSquareFactor(radicand);
            ADD_FAILURE() << radicand;
        } catch (const RuntimeFailure& f) {
            EXPECT_EQ(f.number(), kOverflowNumber);
        }
    }
}

} // namespace
} // namespace valdrex
