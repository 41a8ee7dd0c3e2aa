#pragma once

#include "solvers/all_roots/certification.h"

#include <array>

namespace valdrex {

// Whole numbers below this in size are exact in a double.
inline constexpr long kExactDouble = 1L << 53;

// Below this bound the exact roots of quadratics are written with machine integers:
// B² − 4AC stays below 2^55 and every sum below 2^53.
inline constexpr long kSmallQuadraticLimit = 1L << 26;

// |v| < limit, for any v.
bool Within(long v, long limit);

// n/d (d > 0, both below 2^53) reduced, as the general path writes a rational root; with
// `decimalDigits` (0: none) its parts' decimal texts too.
void SetSmallRational(FoundRoot& root, long n, long d, int decimalDigits);

// The roots of A·x² + B·x + C (A > 0, |A|, |B|, |C| below kSmallQuadraticLimit) as the general
// path gives them, in the listed order, a double root once with multiplicity 2, with their parts'
// decimal texts when `decimalDigits` is not 0; false, with no slot taken, when the discriminant is
// too large for the double values or a decimal text is not proved (more than 15 digits, or a part
// too close to a rounding boundary).
bool AddSmallQuadratic(long a, long b, long c, int decimalDigits, RootSlots& out);

// n = k²·r with r free of squares, for 0 < n < 2^62.
struct SquareSplit {
    long k = 1, r = 1;
};
SquareSplit SplitSmallSquare(long n);

// The roots' parts as the nearest doubles, [root][real part, imaginary part], the "+" root first.
struct QuadraticValues {
    double v[2][2] = {};
};

// The values for A·x² + B·x + C with discriminant Δ (not a square when positive), each of A, B,
// C and Δ exact in a double (|Δ| and |B| below 2^53, |A| below 2^52, |C| below 2^51).
QuadraticValues SmallQuadraticValues(double a, double b, double c, double delta);

// The double path's exact questions answered in 128-bit integers, for a primitive polynomial
// with machine-integer coefficients and a positive leading one; Unknown where a step would
// overflow or a root is too large to write without big numbers.
class MachineQuestions final : public ExactQuestions {
  public:
    // `decimalDigits` as for SetSmallRational; a quadratic factor's roots get theirs from the
    // parts the double path rounds for the order.
    MachineQuestions(const long* lowestFirst, int degree, int decimalDigits);
    Answer IsRationalRoot(long m, RootSlots& out) override;
    Answer IsQuadraticFactor(long s, long q, RootSlots& out) override;

  private:
    std::array<long, kMaxDegree + 1> c_{};
    int degree_;
    int decimalDigits_;
};

} // namespace valdrex
