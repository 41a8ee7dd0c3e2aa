#include "solvers/exact/exact_solver.h"

#include "core/checked_math.h"
#include "core/failure.h"
#include "solvers/exact/cubic.h"
#include "solvers/exact/quadratic.h"
#include "solvers/exact/quartic.h"

namespace valdrex {

void SolveExact(SolveContext& ctx) {
    const Polynomial& a = ctx.a;
    if (a[4] != 0)
        SolveQuartic(ctx);
    else if (a[3] != 0)
        SolveCubic(ctx);
    else if (a[2] != 0)
        SolveQuadratic(ctx);
    else if (a[1] != 0)
        SolveLinear(ctx);
    else if (a[0] != 0)
        ctx.status = "The equation is impossible";
    else
        ctx.status = "The equation is undetermined";
}

void SolveLinear(SolveContext& ctx) {
    // A root beyond single precision has no text: it is reported like a failure of the
    // formula solvers, and no line is added.
    try {
        ctx.AddRoot(1, SingleText(CheckedDiv(-ctx.a[0], ctx.a[1])));
    } catch (const RuntimeFailure& f) {
        ctx.errors.push_back(SolverErrorBox(f));
    }
}

} // namespace valdrex
