#pragma once

#include "solvers/all_roots/all_roots.h"

#include <string>
#include <vector>

namespace valdrex::testing {

// Checks a result against the true roots, found on their own (factorisation over the integers,
// then Arb at high precision): the roots with their multiplicities number the equation's degree;
// each listed root is a distinct true root with its multiplicity, real exactly when listed real;
// a root that is rational or of a rational quadratic is written exactly, and its exact form has
// the root's value; every printed part of the others is the true part correctly rounded to
// `digits` significant digits, in the house form; every radius bounds the distance from (re, im)
// to the root; the order is the documented one. Returns the faults found, empty when none.
// With `tally`, also how many printed parts of the roots that are not exact there are, and how
// many of them are the true part correctly rounded (for measuring).
struct RoundingTally {
    int parts = 0, correct = 0;
};
std::string CheckRoots(const CoefficientTexts& texts, const AllRootsResult& result, int digits,
                       RoundingTally* tally = nullptr);
std::string CheckRoots(const std::vector<long>& lowestFirst, const AllRootsResult& result,
                       int digits);

// Integer coefficients, lowest power first, as coefficient texts.
CoefficientTexts TextsOf(const std::vector<long>& lowestFirst);

} // namespace valdrex::testing
