#include "cli/scan_bound.h"

#include "core/failure.h"
#include "core/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace valdrex::cli {

double ScanStepCount(double min, double max, double inc) {
    if (!(inc != 0))
        return 0;
    if (inc < 0) {
        min = -min;
        max = -max;
        inc = -inc;
    }
    const double lost = std::ldexp(inc, 53);
    const double stop = std::min(max - inc, lost);
    if (!(min <= stop) || min <= -lost)
        return 0;
    return std::floor((stop - min) / inc) + 1;
}

std::optional<std::string> LongScanMessage(const MethodOptions& options) {
    double steps = 0;
    try {
        steps = ScanStepCount(TextToNumber(options.BisectionMinText),
                              TextToNumber(options.BisectionMaxText),
                              TextToNumber(options.BisectionIncText));
    } catch (const RuntimeFailure&) {
        return std::nullopt;
    }
    if (steps <= kLongScanSteps)
        return std::nullopt;
    char count[32];
    std::snprintf(count, sizeof count, steps < 1e15 ? "%.0f" : "%.3g", steps);
    return std::string("the bisection scan would take ") + count +
           " steps; more than 100000000 need --long-scans";
}

} // namespace valdrex::cli
