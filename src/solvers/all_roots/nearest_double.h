#pragma once

#include <arf.h>

#include <limits>

namespace valdrex {

// The double nearest x, held to the finite range: a root beyond it is reported as the largest
// double of its sign rather than as an infinity.
inline double NearestDouble(const arf_t x) {
    constexpr double kMax = std::numeric_limits<double>::max();
    const double d = arf_get_d(x, ARF_RND_NEAR);
    return d > kMax ? kMax : d < -kMax ? -kMax : d;
}

} // namespace valdrex
