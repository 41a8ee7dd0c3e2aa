#pragma once

#include "core/coefficient_text.h"
#include "core/root_text.h"

#include <vector>

namespace valdrex {

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

// The part of the engine that needs big numbers (exact reading, factorisation, Arb): linked into
// tests, benchmarks and fuzzers, and reached by the programs through a module loaded on first
// use. It solves what the machine-integer path leaves, into a result that starts out empty.
using BigNumberPath = void (*)(const CoefficientTexts& coefficients, int digits,
                               AllRootsResult& result);

// FindAllRoots with the big-number path given: the loader's one definition of FindAllRoots
// calls this.
void FindAllRootsWith(BigNumberPath bigNumbers, const CoefficientTexts& coefficients, int digits,
                      AllRootsResult& result);

} // namespace valdrex
