#pragma once

#include "solvers/all_roots/aberth.h"

namespace valdrex {

// Starting points for the iteration from the formulas of the cubic and the quartic, evaluated in
// doubles: usually within a few units in the last place, so that one sweep confirms them. False
// for other degrees, and when the formulas give points that are not finite, nearly equal (the
// iteration cannot separate equal points, nor move two real points off the real axis), or of
// sizes far apart (the small ones are then inexact).
bool ClosedFormStarts(const DoublePolynomial& p, RootApproximations& z);

} // namespace valdrex
