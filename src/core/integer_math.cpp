#include "core/integer_math.h"

#include <cmath>
#include <utility>

namespace valdrex {

double Gcd(double a, double b) {
    a = std::fabs(a);
    b = std::fabs(b);
    if (a > b)
        std::swap(a, b);
    // Euclid needs at most a few thousand remainder steps on Doubles; the bound only guards
    // against rounding that keeps a remainder from shrinking.
    for (int step = 0; b != 0 && step < 5000; ++step) {
        const double r = a - std::floor(a / b) * b;
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
