#include "core/checked_math.h"

#include "core/failure.h"

#include <cmath>
#include <cstdint>
#include <numeric>
#include <utility>

namespace valdrex {

double CheckedDiv(double a, double b) {
    if (b == 0)
        FailDivisionByZero();
    return Finite(a / b);
}

double CheckedSqrt(double v) {
    if (std::isnan(v) || v < 0)
        FailInvalidArgument();
    return Finite(std::sqrt(v));
}

double detail::CheckedPowGeneral(double a, double b) {
    const double r = std::pow(a, b);
    if (std::isnan(r) && !std::isnan(a) && !std::isnan(b))
        FailInvalidArgument();
    return Finite(r);
}

int detail::RoundToInt32General(double v) {
    const double r = std::nearbyint(v);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        FailOverflow();
    return static_cast<int>(r);
}

float ToSingle(double v) {
    const auto f = static_cast<float>(Finite(v));
    if (std::isinf(f))
        FailOverflow();
    return f;
}

double Gcd(double a, double b) {
    a = std::fabs(a);
    b = std::fabs(b);
    // For whole values below 2^26 every Double quotient below is within 2^-27 of its true value,
    // never across a whole number: the remainders are exact, and so is the result, which the
    // integer algorithm finds without dividing.
    constexpr double kIntegerLimit = 67108864.0;
    if (a < kIntegerLimit && b < kIntegerLimit) {
        const auto x = static_cast<std::uint32_t>(a);
        const auto y = static_cast<std::uint32_t>(b);
        if (x == a && y == b)
            return std::gcd(x, y);
    }
    if (a > b)
        std::swap(a, b);
    // Euclid needs at most a few thousand remainder steps on Doubles; the bound only guards
    // against rounding that keeps a remainder from shrinking.
    for (int step = 0; b != 0 && step < 5000; ++step) {
        const double q = a / b;
        // For a quotient from 0 to 2^63 the cast is the floor, without a library call.
        const double whole = q >= 0 && q < 9.2e18
                                 ? static_cast<double>(static_cast<std::int64_t>(q))
                                 : std::floor(q);
        const double r = a - whole * b;
        a = b;
        b = r;
    }
    return a;
}

double Lcm(double a, double b) {
    const double g = Gcd(a, b);
    return g == 0 ? 0 : std::fabs(a * b) / g;
}

} // namespace valdrex
