#pragma once

#include "solvers/approx/method_options.h"

#include <optional>
#include <string>

namespace valdrex::cli {

// More steps than this make a bisection scan run for minutes, so they need --long-scans.
inline constexpr double kLongScanSteps = 1e8;

// How many steps the bisection scan takes from min by inc while it stays at or below max - inc
// (at or above, for a negative increment). The scan also stops where the increment is lost
// against x, near |x| = |inc| * 2^53.
double ScanStepCount(double min, double max, double inc);

// Why the bisection options ask for too long a scan, or nothing (also when a text cannot be
// read: the solver reports that).
std::optional<std::string> LongScanMessage(const MethodOptions& options);

} // namespace valdrex::cli
