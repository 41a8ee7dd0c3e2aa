#include "core/checked_math.h"

#include "core/failure.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace valdrex {

double Finite(double v) {
    if (!std::isfinite(v))
        FailOverflow();
    return v;
}

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

namespace {

// A whole base to a small whole power, by multiplication: exact while the product stays below
// 2^53, and then what pow returns too (pow is accurate to within one unit in the last place, so
// a representable result comes back exactly), only much faster. Nothing otherwise.
std::optional<double> WholePower(double a, double b) {
    constexpr double kExactLimit = 9007199254740992.0; // 2^53
    // The casts test wholeness inline; the range checks come first, so they are defined.
    if (!(b >= 0 && b <= 64) || !(std::fabs(a) < kExactLimit))
        return std::nullopt;
    const int n = static_cast<int>(b);
    if (n != b || static_cast<double>(static_cast<std::int64_t>(a)) != a)
        return std::nullopt;
    double r = 1;
    for (int k = n; k > 0; --k) {
        r *= a;
        if (std::fabs(r) >= kExactLimit)
            return std::nullopt;
    }
    return r;
}

} // namespace

double CheckedPow(double a, double b) {
    if (const std::optional<double> exact = WholePower(a, b))
        return *exact;
    const double r = std::pow(a, b);
    if (std::isnan(r) && !std::isnan(a) && !std::isnan(b))
        FailInvalidArgument();
    return Finite(r);
}

int RoundToInt32(double v) {
    // A whole value in range, the usual case, needs no rounding.
    if (v > -2147483649.0 && v < 2147483648.0 && static_cast<int>(v) == v)
        return static_cast<int>(v);
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

} // namespace valdrex
