#pragma once

#include "core/coefficient_text.h"

#include <string>
#include <vector>

namespace valdrex {

// One distinct root of the equation.
struct FoundRoot {
    double re = 0, im = 0; // the double nearest the root's centre
    double radius = 0;     // bound on the distance from (re, im) to the true root; 0 when exact
    int multiplicity = 1;
    std::string exact; // exact form (reduced fraction, or radicals with "Sqr(") or empty
    std::string text;  // the text shown after "xk =", saying when the root is multiple
};

struct AllRootsResult {
    enum class Status { Solved, ZeroDenominator, TooLong, ConstantOnly } status = Status::Solved;
    int power = -1; // the box (power) of a zero denominator or a too-long text
    int degree = 0;
    // Each distinct root once: real ones ascending, then complex pairs by real part, the one
    // with positive imaginary part first.
    std::vector<FoundRoot> roots;
};

// Every root of the equation the coefficient texts describe, read exactly; roots that are not
// exact are printed with `digits` (1..30) significant digits, each of them right.
AllRootsResult FindAllRoots(const CoefficientTexts& coefficients, int digits);

// The same into `result`, whose roots from an earlier solve lend their texts' storage: a caller
// solving one equation after another then hardly allocates.
void FindAllRoots(const CoefficientTexts& coefficients, int digits, AllRootsResult& result);

// Frees the big-number memory the engine keeps for the calling thread, which would otherwise
// be lost when the thread ends. For a thread that has solved and is about to end.
void EndAllRootsThread();

} // namespace valdrex
