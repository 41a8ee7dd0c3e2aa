#pragma once

#include "solvers/all_roots/all_roots.h"
#include "solvers/all_roots/flint_values.h"

namespace valdrex {

struct ExactReadResult {
    AllRootsResult::Status status = AllRootsResult::Status::Solved;
    int power = -1; // the box at fault
};

// The equation of the coefficient texts as a primitive integer polynomial with a positive
// leading coefficient (the zero polynomial when every coefficient is zero).
ExactReadResult ReadExactPolynomial(const CoefficientTexts& texts, IntegerPolynomial& out);

} // namespace valdrex
