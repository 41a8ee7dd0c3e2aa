#pragma once

#include "solvers/exact/solution_list.h"

#include <array>

namespace valdrex {

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

} // namespace valdrex
