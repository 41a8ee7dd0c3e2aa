#pragma once

#include "solvers/all_roots/all_roots.h"
#include "solvers/all_roots/flint_values.h"

#include <deque>
#include <string>
#include <vector>

namespace valdrex::testing {

// Checks a result against the true roots, found on their own (factorisation over the integers,
// then Arb at high precision): the roots with their multiplicities number the equation's degree;
// each listed root is a distinct true root with its multiplicity, real exactly when listed real;
// a root that is rational or of a rational quadratic is written exactly, and its exact form has
// the root's value; every printed part of the others is the true part correctly rounded to
// `digits` significant digits, in the house form; every radius bounds the distance from (re, im)
// to the root; the order is the documented one; when asked for, each part's decimal text is a
// JSON number whose value is the true part correctly rounded (ties to even), with no trailing
// zeros, and "0" exactly for a zero part. Returns the faults found, empty when none.
// With `tally`, also how many printed parts of the roots that are not exact there are, and how
// many of them are the true part correctly rounded (for measuring).
struct RoundingTally {
    int parts = 0, correct = 0;
};
std::string CheckRoots(const CoefficientTexts& texts, const AllRootsResult& result, int digits,
                       RoundingTally* tally = nullptr);

// Integer coefficients, lowest power first, as coefficient texts.
CoefficientTexts TextsOf(const std::vector<long>& lowestFirst);

// The distinct roots of the integer polynomial p, from its factors over the integers, as Arb
// balls of `precision` bits; the real part of a rational root or of a rational quadratic's pair
// also exactly.
using Complex = Owned<acb_struct>;
struct TrueRoot {
    Complex value;
    bool reExact = false;
    Rational re;
    int multiplicity = 0;
    long factorDegree = 0;
    bool used = false;
};
std::deque<TrueRoot> TrueRoots(const fmpz_poly_t p, long precision);

// 10^e as a rational.
void PowerOfTen(long e, fmpq_t out);

// A true value as an interval of rationals: a point when it is known exactly.
struct Interval {
    Rational lo, hi;
    void Set(const arb_t x);
    void Set(const fmpq_t q);
};

// A printed decimal: its exact value, the place of its first significant digit (0 for units)
// and its significant digits, trailing zeros dropped. Read from its sign, its digits and how
// many of them stand before the point; false for zero.
struct Printed {
    Rational value;
    long first = 0;
    std::string kept;
};
bool ReadPrinted(bool negative, const std::string& digits, long pointAt, Printed& out);

// Whether the true value rounds to `printed` at `digits` significant digits; Tie when it is a
// point exactly half-way between two printed values.
enum class Verdict { Right, Wrong, Undecided, Tie };
Verdict Rounding(const Printed& printed, const Interval& truth, int digits);

} // namespace valdrex::testing
