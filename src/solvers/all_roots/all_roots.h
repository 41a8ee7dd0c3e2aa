#pragma once

#include "core/coefficient_text.h"
#include "core/root_text.h"

#include <atomic>
#include <string>
#include <vector>

namespace valdrex {

// The limits of a coefficient text: significant digits (leading zeros do not count), and the
// power of ten of its first significant digit.
inline constexpr long kMaxSignificantDigits = 10000;
inline constexpr long kMaxDecimalExponent = 100000;

struct AllRootsResult {
    // Asked by the caller, and kept by the solve: every root also gets its parts' decimal texts
    // (FoundRoot::reDecimal, imDecimal). Off by default: the window and the plain output do not
    // show them, and writing them costs a batch of quadratics a fifth of its time.
    bool decimalsAsked = false;
    enum class Status {
        Solved,
        ZeroDenominator,
        NotANumber, // a text such as "1e", "e5", "1.2.3" or "+"
        TooLong,    // a text beyond the limits; `limit` says which
        ConstantOnly,
        Stopped, // the stop flag was set: no roots
    } status = Status::Solved;
    int power = -1; // the box (power) of a zero denominator, a text not a number or too long
    // With TooLong, the limit gone beyond: "more than 10,000 significant digits" or "a power of
    // ten beyond ±100,000".
    std::string limit;
    int degree = 0;
    // Each distinct root once: real ones ascending, then the complex pairs by real part and then
    // by size of imaginary part, the upper root of each pair first; parts compared as printed,
    // and where two roots print alike, at twice the digits, and so on.
    std::vector<FoundRoot> roots;
};

// A flag another thread may set to ask a solve to stop; null for none. It is read between the
// steps of the computation (iteration sweeps, factors, precision steps).
using StopFlag = const std::atomic<bool>*;

// Every root of the equation the coefficient texts describe, read exactly; a root that is
// rational or of a rational quadratic is written exactly, every part of the others correctly
// rounded to `digits` (1..30) significant digits, ties to even. Status Stopped, with no roots,
// when `stop` was set before the solve ended.
AllRootsResult FindAllRoots(const CoefficientTexts& coefficients, int digits,
                            StopFlag stop = nullptr);

// The same into `result`, whose roots from an earlier solve lend their texts' storage: a caller
// solving one equation after another then hardly allocates.
void FindAllRoots(const CoefficientTexts& coefficients, int digits, AllRootsResult& result,
                  StopFlag stop = nullptr);

// Frees the big-number memory the engine keeps for the calling thread, which would otherwise
// be lost when the thread ends. For a thread that has solved and is about to end.
void EndAllRootsThread();

// The part of the engine that needs big numbers (exact reading, factorisation, Arb): linked into
// tests, benchmarks and fuzzers, and reached by the programs through a module loaded on first
// use. It solves what the machine-integer path leaves, into a result that starts out empty.
using BigNumberPath = void (*)(const CoefficientTexts& coefficients, int digits, StopFlag stop,
                               AllRootsResult& result);

// FindAllRoots with the big-number path given: the loader's one definition of FindAllRoots
// calls this.
void FindAllRootsWith(BigNumberPath bigNumbers, const CoefficientTexts& coefficients, int digits,
                      StopFlag stop, AllRootsResult& result);

// Thrown where a set stop flag is seen, and caught where a path begins.
struct StopRequested {};
[[noreturn]] void ThrowStopRequested();
inline void ThrowIfStopped(StopFlag stop) {
    if (stop != nullptr && stop->load(std::memory_order_relaxed)) [[unlikely]]
        ThrowStopRequested(); // out of line, so that the loops checking stay as fast
}

} // namespace valdrex
