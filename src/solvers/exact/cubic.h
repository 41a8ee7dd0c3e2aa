#pragma once

#include "solvers/exact/solution_list.h"

#include <array>
#include <limits>

namespace valdrex {

// a(3)x^3 + ... + a(0) = 0 by Cardano's formulas and the trigonometric form. Traps its own
// failures (solver error box) and ends; a caller goes on after it.
void SolveCubic(SolveContext& ctx);
// pi/2 - Atn(x / Sqr(1 - x*x)) with pi = 3.14159265358979; fails at |x| >= 1.
double ArcCos(double x);
// Sgn(x) * |x|^(1/3).
double CubeRoot(double x);

// π as the solvers use it; the angle formulas are written for this value.
inline constexpr double kPi = 3.14159265358979;

// -1, 0 or 1 by the sign of v.
inline double Sgn(double v) {
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

// The roots of y^3 + w.B·y^2 + w.C·y + w.D by Cardano's formulas, in the trigonometric form
// when the three roots are real and distinct. Sets w.T = 4p^3 + 27q^2 of the depressed cubic;
// when T > 0 only the first root is real and w.RZ ± i·w.PIZ is the pair.
std::array<double, 3> CardanoRoots(WorkingValues& w);

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
