#include "solvers/exact/rounding_slack.h"

#include <algorithm>
#include <cmath>

namespace valdrex {

double ClampToZero(double v, double slack) {
    return v < 0 && v >= -slack ? 0 : v;
}

double SumSlack(double termMagnitudes) {
    return 16 * kEpsilon * termMagnitudes;
}

double ResolventSlack(const WorkingValues& w) {
    const double size =
        std::max({std::fabs(w.B), std::sqrt(std::fabs(w.C)), std::cbrt(std::fabs(w.D))});
    return 64 * std::sqrt(kEpsilon) * size;
}

} // namespace valdrex
