#pragma once

#include <string>

namespace valdrex {

// The tolerance 10^(-digits) for an accuracy text read as a number: "8" gives 1E-08, an empty
// text or "0" gives 1, and a huge digit count gives 0 (a tolerance no correction ever beats).
double AccuracyTolerance(const std::string& accuracyText);

} // namespace valdrex
