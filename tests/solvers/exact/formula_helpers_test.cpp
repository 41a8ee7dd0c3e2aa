#include "solver_test_support.h"
#include "solvers/exact/cubic.h"
#include "solvers/exact/quadratic_symbolic.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace valdrex {
namespace {

using testing::FailureOf;

TEST(ArcCos, UsesTheWrittenPiAndFailsAtAndBeyondOne) {
    EXPECT_EQ(ArcCos(0), 3.14159265358979 / 2);
    const int zero = kDivisionByZeroNumber, invalid = kInvalidArgumentNumber;
    const std::pair<double, int> cases[] = {{1, zero}, {-1, zero}, {1.5, invalid}, {-2, invalid}};
    for (const auto& [x, number] : cases)
        EXPECT_EQ(FailureOf([&] { ArcCos(x); }), number) << x;
}

TEST(CubeRoot, KeepsTheSign) {
    EXPECT_EQ(CubeRoot(0), 0);
    EXPECT_EQ(CubeRoot(-8), -CubeRoot(8));
    EXPECT_DOUBLE_EQ(CubeRoot(-27), -3);
}

TEST(ExtractSquareFactor, MatchesAPlainScanOfEveryRadicandUpTo100000) {
    // The plain scan: every i from 2 to Int(√R), each taken out as often as i² divides R.
    for (std::uint32_t radicand = 1; radicand <= 100000; ++radicand) {
        std::uint32_t left = radicand, k = 1;
        for (std::uint32_t i = 2; i * i <= radicand; ++i)
            for (; left % (i * i) == 0; left /= i * i)
                k *= i;
        const SquareFactor sf = ExtractSquareFactor(radicand);
        ASSERT_EQ((std::pair{sf.radicand, sf.factor}), (std::pair<double, double>{left, k}))
            << radicand;
    }
}

TEST(ExtractSquareFactor, KeepsFractionsAndOverflowsFrom32767Squared) {
    // radicand, what is left, the factor taken out; k is the largest factor below the limit
    const double k = 32765;
    const double cases[][3] = {
        {0, 0, 1},     {k * k, 1, k},   {1073676288, 16383, 256},  {12.5, 12.5, 1},
        {4.5, 4.5, 1}, {0.25, 0.25, 1}, {2 * 9 * 49 * 121, 2, 231}};
    for (const auto& c : cases) {
        const SquareFactor sf = ExtractSquareFactor(c[0]);
        EXPECT_EQ((std::pair{sf.radicand, sf.factor}), (std::pair{c[1], c[2]})) << c[0];
    }
    for (double radicand : {1073676289.0, 1073676290.0, 1e12})
        EXPECT_EQ(FailureOf([&] { ExtractSquareFactor(radicand); }), kOverflowNumber) << radicand;
}

TEST(ClampToZero, MovesOnlyRoundingNoiseBelowZero) {
    // value, slack, result
    const double cases[][3] = {{-1e-17, 1e-16, 0}, {-1e-16, 1e-16, 0}, {-2e-16, 1e-16, -2e-16},
                               {0.5, 1e-16, 0.5},  {0, 1e-16, 0},      {-1, 0, -1},
                               {3e-300, 1, 3e-300}};
    for (const auto& c : cases)
        EXPECT_EQ(ClampToZero(c[0], c[1]), c[2]) << c[0];
}

} // namespace
} // namespace valdrex
