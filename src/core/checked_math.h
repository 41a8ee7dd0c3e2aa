#pragma once

#include "core/failure.h"

#include <cmath>
#include <cstdint>

// Arithmetic that raises a RuntimeFailure where an unchecked operation would produce an
// infinity or NaN, so that no such value ever reaches a text.

namespace valdrex {

namespace detail {
double CheckedPowGeneral(double a, double b);
int RoundToInt32General(double v);
} // namespace detail

// Returns v, or fails with Overflow when v is infinite or NaN.
inline double Finite(double v) {
    if (!std::isfinite(v))
        FailOverflow();
    return v;
}
// a / b; Division by zero when b is 0, Overflow when the quotient is not finite.
double CheckedDiv(double a, double b);
// Square root; Invalid argument for a negative value.
double CheckedSqrt(double v);

// General power a^b (0^0 = 1); Overflow when the result is not finite.
// The solvers' inner loops raise whole numbers to small whole powers; those are multiplied out
// here, inline: exact while the product stays below 2^53, and then what pow returns too (pow is
// accurate to within one unit in the last place, so a representable result comes back exactly).
inline double CheckedPow(double a, double b) {
    constexpr double kExactLimit = 9007199254740992.0; // 2^53
    // The range checks come first, so that the casts testing wholeness are defined.
    if (b >= 0 && b <= 64 && std::fabs(a) < kExactLimit) {
        const int n = static_cast<int>(b);
        if (n == b && static_cast<double>(static_cast<std::int64_t>(a)) == a) {
            double r = 1;
            int k = n;
            for (; k > 0; --k) {
                r *= a;
                if (std::fabs(r) >= kExactLimit)
                    break;
            }
            if (k == 0)
                return r;
        }
    }
    return detail::CheckedPowGeneral(a, b);
}

// Nearest 32-bit signed integer, halves to even; Overflow outside the range.
inline int RoundToInt32(double v) {
    // A whole value in range, the usual case, needs no rounding.
    if (v > -2147483649.0 && v < 2147483648.0 && static_cast<int>(v) == v)
        return static_cast<int>(v);
    return detail::RoundToInt32General(v);
}

// Nearest single-precision value; Overflow beyond its range.
float ToSingle(double v);

// Greatest common divisor by Euclid's remainders on the absolute values:
// Gcd(n, 0) = |n|, Gcd(0, 0) = 0. Works on whole-valued and other Doubles alike.
double Gcd(double a, double b);
// |a * b| / Gcd(a, b) in Doubles; Lcm(0, n) = 0.
double Lcm(double a, double b);

} // namespace valdrex
