#include "solvers/approx/int32_math.h"

#include "core/failure.h"

#include <climits>

namespace valdrex {

int CheckedAbs(int v) {
    if (v == INT_MIN)
        FailOverflow();
    return v < 0 ? -v : v;
}

int CheckedIntPower(int base, int exponent) {
    long long product = 1;
    for (int i = 0; i < exponent; ++i) {
        product *= base;
        if (product < INT_MIN || product > INT_MAX)
            FailOverflow();
    }
    return static_cast<int>(product);
}

} // namespace valdrex
