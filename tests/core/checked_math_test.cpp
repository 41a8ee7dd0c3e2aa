#include "core/checked_math.h"
#include "core/failure.h"
#include "core/integer_math.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>

namespace valdrex {
namespace {

TEST(RoundToInt32, RoundsHalvesToEven) {
    const struct {
        double in;
        int out;
    } cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},          {-0.5, 0},        {-1.5, -2},
                 {-2.5, -2}, {2.4, 2},   {2.6, 3},          {2147483647, 2147483647},
                 {-2147483648.0, -2147483647 - 1},           {-2147483648.5, -2147483647 - 1}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundToInt32(c.in), c.out) << c.in;
}

TEST(RoundToInt32, FailsOutsideTheRange) {
    for (double v : {2147483647.5, 2147483648.0, -2147483649.0, 1e300,
                     std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::infinity()}) {
        try {
            RoundToInt32(v);
            ADD_FAILURE() << v;
        } catch (const RuntimeFailure& f) {
            EXPECT_EQ(f.number(), kOverflowNumber);
        }
    }
}

TEST(ToSingle, RoundsToNearestAndFailsBeyondRange) {
    EXPECT_EQ(ToSingle(1.0 / 3), 1.0f / 3);
    EXPECT_EQ(ToSingle(FLT_MAX), FLT_MAX);
    EXPECT_THROW(ToSingle(1e39), RuntimeFailure);
    EXPECT_THROW(ToSingle(-1e39), RuntimeFailure);
    EXPECT_EQ(ToSingle(1e-50), 0.0f);
}

TEST(CheckedArithmetic, RaisesTheMatchingFailure) {
    const auto number = [](auto f) {
        try {
            f();
        } catch (const RuntimeFailure& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(number([] { CheckedDiv(1, 0); }), kDivisionByZeroNumber);
    EXPECT_EQ(number([] { CheckedDiv(0, 0); }), kDivisionByZeroNumber);
    EXPECT_EQ(number([] { CheckedDiv(1e300, 1e-300); }), kOverflowNumber);
    EXPECT_EQ(number([] { CheckedSqrt(-1e-300); }), kInvalidArgumentNumber);
    EXPECT_EQ(number([] { CheckedPow(10, 400); }), kOverflowNumber);
    EXPECT_EQ(number([] { CheckedPow(-8, 1.0 / 3); }), kInvalidArgumentNumber);
    EXPECT_EQ(CheckedPow(0, 0), 1);
    EXPECT_EQ(CheckedSqrt(0), 0);
}

TEST(GcdLcm, FollowEuclid) {
    const struct {
        double a, b, gcd;
    } cases[] = {{-12, 18, 6}, {18, -12, 6}, {5, 0, 5}, {0, 5, 5}, {0, 0, 0}, {-7, 0, 7},
                 {1, 1, 1},    {4, 6, 2},    {2147483647, 2147483646, 1}, {1.5, 0.5, 0.5}};
    for (const auto& c : cases)
        EXPECT_EQ(Gcd(c.a, c.b), c.gcd) << c.a << "," << c.b;
    EXPECT_EQ(Lcm(4, 6), 12);
    EXPECT_EQ(Lcm(0, 5), 0);
    EXPECT_EQ(Lcm(-3, 4), 12);
}

} // namespace
} // namespace valdrex
