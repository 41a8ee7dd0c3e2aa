#pragma once

#include "solvers/all_roots/root_slots.h"

namespace valdrex {

// Below this bound the exact roots of quadratics are written with machine integers:
// B² − 4AC stays below 2^55 and every sum below 2^53.
inline constexpr long kSmallQuadraticLimit = 1L << 26;

// n/d (d > 0, both below 2^53) reduced, as the general path writes a rational root.
void SetSmallRational(FoundRoot& root, long n, long d);

// The roots of A·x² + B·x + C (A > 0, |A|, |B|, |C| below kSmallQuadraticLimit) as the general
// path gives them, a double root once with multiplicity 2; false, with no slot taken, when the
// discriminant is too large for the double values.
bool AddSmallQuadratic(long a, long b, long c, RootSlots& out);

} // namespace valdrex
