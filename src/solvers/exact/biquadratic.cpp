#include "solvers/exact/cardano.h"
#include "solvers/exact/quartic_ways.h"

#include "core/checked_math.h"

#include <cmath>

namespace valdrex {
namespace {

// Both values of y = x² real: x = ±√|y|, marked imaginary where y < 0.
void AddRealY(SolveContext& ctx, double sqrtDelta) {
    const double F = ctx.w.F;
    auto& rv = ctx.w.RootValues;
    rv[0] = CheckedSqrt(std::fabs(-F / 2 + sqrtDelta / 2));
    rv[1] = -rv[0];
    rv[2] = CheckedSqrt(std::fabs(-F / 2 - sqrtDelta / 2));
    rv[3] = -rv[2];
    for (int k = 1; k <= 4; ++k) {
        const double sigma = k <= 2 ? 1 : -1;
        std::string text = SingleText(rv[k - 1]);
        if (sigma * sqrtDelta - F < 0)
            text += "i";
        ctx.AddRoot(k, text);
    }
}

// y complex with modulus √H: the four roots are ±ρ·(cos θ/2 ± i·sin θ/2).
void AddComplexY(SolveContext& ctx) {
    const double F = ctx.w.F;
    const double H = ctx.w.H;
    const double rho = CheckedSqrt(CheckedSqrt(H));
    const double theta =
        F == 0 ? kPi / 2
               : std::atan(CheckedDiv(CheckedSqrt(4 * H - F * F), -F)) + (Sgn(F) + 1) * kPi / 2;
    const double c = std::cos(theta / 2);
    const double s = std::sin(theta / 2);
    auto& rv = ctx.w.RootValues;
    rv = {rho * c, rho * c, -rho * c, -rho * c};
    for (int k = 1; k <= 4; ++k) {
        std::string text;
        if (c != 0)
            text = SingleText(rv[k - 1]);
        if (c != 0 && k % 2 == 1)
            text += "+";
        else if (k % 2 == 0)
            text += "-";
        text += SingleText(rho * s) + "i";
        ctx.AddRoot(k, text);
    }
}

} // namespace

void SolveBiquadratic(SolveContext& ctx, double d4) {
    const double F = ctx.w.F;
    double delta = Finite(F * F - ctx.w.H * 4);
    if (d4 == 0)
        delta = 0;
    if (delta >= 0)
        AddRealY(ctx, CheckedSqrt(delta));
    else
        AddComplexY(ctx);
}

} // namespace valdrex
