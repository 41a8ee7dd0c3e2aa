#pragma once

#include "solvers/exact/solution_list.h"

#include <limits>

namespace valdrex {

// Multiple roots put some values exactly on a boundary: a cosine of ±1, a zero radicand, a zero
// resolvent root. Rounding can leave such a value a hair beyond the boundary, where the square
// root or the arc cosine would fail, or where a zero resolvent root would be read as negative.
// The solvers move it back onto the boundary only when it lies within the rounding error of its
// own computation and only at those places, so every other solve gives the same texts as
// without them.

inline constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

// 0 for a negative v that lies no more than `slack` below 0; v otherwise.
double ClampToZero(double v, double slack);

// The cosine -q/2/r and T are computed from the same p and q, so at T = 0 the cosine misses
// ±1 by the rounding of a few operations on values of size 1.
inline constexpr double kCosineSlack = 4 * kEpsilon;

// A sum of rounded terms is off by a few units in the last place of the sum of their magnitudes;
// 16 such units bound it.
double SumSlack(double termMagnitudes);

// A resolvent root at a double zero comes out of the trigonometric form with an error near the
// square root of the rounding error, relative to the size of the resolvent's roots
// (max(|B|, √|C|, ∛|D|) bounds them up to a factor of 2); 64·√eps of that size bounds it.
double ResolventSlack(const WorkingValues& w);

} // namespace valdrex
