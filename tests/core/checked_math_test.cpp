#include "core/checked_math.h"
#include "core/failure.h"
#include "core_test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cfloat>
#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace valdrex {
namespace {

using testing::FailureOf;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMax = 2147483647, kMin = -2147483648.0;

// To 32 bits halves go to even, to single precision to the nearest; beyond the range, a failure.
TEST(Narrowing, RoundsAndFailsOutsideTheRange) {
    const double cases[][2] = {{0.5, 0},     {1.5, 2},     {2.5, 2},          {-0.5, 0},
                               {-1.5, -2},   {-2.5, -2},   {2.4, 2},          {2.6, 3},
                               {kMax, kMax}, {kMin, kMin}, {kMin - 0.5, kMin}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundToInt32(c[0]), c[1]) << c[0];
    for (double v : {kMax + 0.5, kMax + 1, kMin - 1, 1e300, kNaN, kInf})
        EXPECT_EQ(FailureOf([&] { RoundToInt32(v); }), kOverflowNumber) << v;
    EXPECT_EQ(ToSingle(1.0 / 3), 1.0f / 3);
    EXPECT_EQ(ToSingle(FLT_MAX), FLT_MAX);
    EXPECT_EQ(ToSingle(1e-50), 0.0f);
    EXPECT_EQ(FailureOf([] { ToSingle(1e39); }), kOverflowNumber);
    EXPECT_EQ(FailureOf([] { ToSingle(-1e39); }), kOverflowNumber);
}

TEST(CheckedArithmetic, RaisesTheMatchingFailure) {
    EXPECT_EQ(FailureOf([] { CheckedDiv(1, 0); }), kDivisionByZeroNumber);
    EXPECT_EQ(FailureOf([] { CheckedDiv(0, 0); }), kDivisionByZeroNumber);
    EXPECT_EQ(FailureOf([] { CheckedDiv(1e300, 1e-300); }), kOverflowNumber);
    EXPECT_EQ(FailureOf([] { CheckedSqrt(-1e-300); }), kInvalidArgumentNumber);
    EXPECT_EQ(FailureOf([] { CheckedPow(10, 400); }), kOverflowNumber);
    EXPECT_EQ(FailureOf([] { CheckedPow(-8, 1.0 / 3); }), kInvalidArgumentNumber);
    EXPECT_EQ(CheckedPow(0, 0), 1);
    EXPECT_EQ(CheckedSqrt(0), 0);
}

TEST(RuntimeFailure, EachHasItsNumberAndDescription) {
    const std::tuple<std::function<void()>, int, std::string> cases[] = {
        {FailOverflow, 1001, "Overflow"},
        {FailDivisionByZero, 1002, "Division by zero"},
        {FailInvalidArgument, 1003, "Invalid argument"},
        {FailSubscriptOutOfRange, 1004, "Subscript out of range"},
        {[] { FailFile(ENOSPC); }, ENOSPC, "No space left on device"},
        {[] { FailFile(EACCES); }, EACCES, "Permission denied"},
        // A file failure without a number of its own is a generic one.
        {[] { FailFile(0); }, EIO, "Input/output error"},
        {[] { FailFile(-1); }, EIO, "Input/output error"},
    };
    for (const auto& [fail, number, description] : cases) {
        try {
            fail();
            ADD_FAILURE() << description << " was not raised";
        } catch (const RuntimeFailure& failure) {
            EXPECT_EQ((std::pair{failure.number(), failure.description()}),
                      (std::pair{number, description}));
        }
    }
}

TEST(GcdLcm, FollowEuclid) {
    const double B = 1 << 26, M = kMax;
    const double cases[][3] = {{-12, 18, 6},    {18, -12, 6},  {5, 0, 5},     {0, 5, 5},
                               {0, 0, 0},       {-7, 0, 7},    {1, 1, 1},     {4, 6, 2},
                               {1.5, .5, .5},   {M, M - 1, 1}, {B - 1, 3, 3}, {B, 6, 2},
                               {-B, 16 * B, B}, {2.5, 10, 2.5}};
    for (const auto& c : cases)
        EXPECT_EQ(Gcd(c[0], c[1]), c[2]) << c[0] << "," << c[1];
    EXPECT_EQ((std::vector{Lcm(4, 6), Lcm(0, 5), Lcm(-3, 4)}), (std::vector<double>{12, 0, 12}));
}

TEST(ErrorBox, ComposesEachStyle) {
    const RuntimeFailure f(kOverflowNumber, "Overflow");
    EXPECT_EQ(PlainErrorBox(f),
              (ErrorBox{"1001. Overflow", BoxIcon::None, "Valdrex", 1001, "Overflow"}));
    EXPECT_EQ(CriticalErrorBox(f),
              (ErrorBox{"Error 1001. Overflow", BoxIcon::Critical, "Valdrex", 1001, "Overflow"}));
    EXPECT_EQ(SolverErrorBox(f),
              (ErrorBox{"Error  1001. Overflow", BoxIcon::Critical, "Error", 1001, "Overflow"}));
    EXPECT_EQ(HelpErrorBox(f),
              (ErrorBox{"1001. Overflow", BoxIcon::Critical, "Valdrex", 1001, "Overflow"}));
    EXPECT_EQ(RationalErrorBox(f),
              (ErrorBox{"1001. Overflow", BoxIcon::Critical, "Error", 1001, "Overflow"}));
    // File failures carry the system's description; an unknown cause reads as an I/O failure.
    EXPECT_EQ(PlainErrorBox(FileFailure(2)).text, "2. No such file or directory");
}

} // namespace
} // namespace valdrex
