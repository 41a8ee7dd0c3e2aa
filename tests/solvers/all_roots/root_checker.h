#pragma once

#include "solvers/all_roots/all_roots.h"

#include <string>
#include <vector>

namespace valdrex::testing {

// Checks a result against an enclosure of the true roots computed on its own (square-free
// factorisation, then Arb at high precision): every true root is matched by exactly one listed
// root with its multiplicity, each printed part lies within one unit of its last printed place,
// real roots are listed as real, exact roots satisfy the equation exactly, and the order is
// the listed one. Returns the faults found, empty when none.
std::string CheckRoots(const std::vector<long>& lowestFirst, const AllRootsResult& result);
std::string CheckRoots(const CoefficientTexts& texts, const AllRootsResult& result);

// Integer coefficients, lowest power first, as coefficient texts.
CoefficientTexts TextsOf(const std::vector<long>& lowestFirst);

} // namespace valdrex::testing
