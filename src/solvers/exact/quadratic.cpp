#include "solvers/exact/quadratic.h"

#include "core/checked_math.h"
#include "core/failure.h"
#include "solvers/exact/pair_text.h"
#include "solvers/exact/quadratic_symbolic.h"

namespace valdrex {
namespace {

// Δ >= 0: the smaller root by the formula, the other from the sum of the roots.
void AddRealRoots(SolveContext& ctx, double delta) {
    const Polynomial& a = ctx.a;
    const double x1 = CheckedDiv(-a[1] / 2, a[2]) - CheckedDiv(CheckedSqrt(delta) / 2, a[2]);
    const double x2 = Finite(-x1 - CheckedDiv(a[1], a[2]));
    ctx.w.RootValues[0] = x1;
    ctx.w.RootValues[1] = x2;
    ctx.AddRoot(1, SingleText(x1));
    ctx.AddRoot(2, SingleText(x2));
}

// Δ < 0: the pair, without a real part when a(1) is 0.
void AddComplexRoots(SolveContext& ctx, double delta) {
    const Polynomial& a = ctx.a;
    const double re = CheckedDiv(-a[1] / 2, a[2]);
    const double im = CheckedDiv(CheckedSqrt(-delta) / 2, a[2]);
    const std::string realText = a[1] != 0 ? SingleText(re) : "";
    const std::string imagText = SingleText(im);
    ctx.AddRoot(1, UpperPairText(realText, imagText));
    ctx.AddRoot(2, LowerPairText(realText, imagText));
}

} // namespace

void SolveQuadratic(SolveContext& ctx) {
    try {
        Polynomial& a = ctx.a;
        if (a[2] < 0) {
            for (int i = 0; i <= 2; ++i)
                a[i] = -a[i];
        }
        const double delta = Finite(a[1] * a[1] - a[2] * 4 * a[0]);
        if (ctx.EvSimbTmp)
            AddSymbolicRoots(ctx, delta);
        else if (delta >= 0)
            AddRealRoots(ctx, delta);
        else
            AddComplexRoots(ctx, delta);
        ctx.status = "Solutions found";
    } catch (const RuntimeFailure& f) {
        ctx.errors.push_back(PlainErrorBox(f));
    }
}

} // namespace valdrex
