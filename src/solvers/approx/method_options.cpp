#include "solvers/approx/method_options.h"

#include "core/checked_math.h"
#include "core/number_text.h"

namespace valdrex {

double AccuracyTolerance(const std::string& accuracyText) {
    return CheckedPow(10, -TextToNumber(accuracyText));
}

} // namespace valdrex
