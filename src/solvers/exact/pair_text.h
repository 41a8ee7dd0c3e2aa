#pragma once

#include "solvers/exact/solution_list.h"

#include <string>

namespace valdrex {

// The texts of a complex pair re ± im·i. An empty real text leaves out the real part, and in
// the first root also the "+"; the second root always keeps its "-".
std::string UpperPairText(const std::string& realText, const std::string& imagText);
std::string LowerPairText(const std::string& realText, const std::string& imagText);

// Adds roots k and k + 1 as the pair re ± im·i, both parts in single precision; the real part
// is left out when re is 0.
void AddSinglePair(SolveContext& ctx, int k, double re, double im);

} // namespace valdrex
