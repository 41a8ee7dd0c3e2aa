#include "core/checked_math.h"

#include "core/failure.h"

#include <cmath>

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

} // namespace valdrex
