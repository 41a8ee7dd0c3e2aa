#include "solvers/exact/quartic.h"

#include "core/checked_math.h"
#include "core/failure.h"
#include "solvers/exact/cubic.h"
#include "solvers/exact/quadratic.h"
#include "solvers/exact/quartic_ways.h"

namespace valdrex {

void SolveQuartic(SolveContext& ctx) {
    try {
        Polynomial& a = ctx.a;
        WorkingValues& w = ctx.w;
        if (a[4] < 0) {
            for (int i = 0; i <= 4; ++i)
                a[i] = -a[i];
        }
        const double d4 = Finite(a[2] * a[2] - a[0] * 4 * a[4]);
        w.E = CheckedDiv(a[3], a[4]);
        w.F = CheckedDiv(a[2], a[4]);
        w.G = CheckedDiv(a[1], a[4]);
        w.H = CheckedDiv(a[0], a[4]);
        if (w.E == 0 && w.G == 0) {
            SolveBiquadratic(ctx, d4);
        } else if (w.H == 0 && w.G == 0) {
            // x² is a factor; a failing quadratic still leaves the two zeros to list.
            a[2] = 1;
            a[1] = w.E;
            a[0] = w.F;
            SolveQuadratic(ctx);
            ctx.AddRoot(3, " 0");
            ctx.AddRoot(4, " 0");
        } else if (w.H == 0) {
            a[3] = 1;
            a[2] = w.E;
            a[1] = w.F;
            a[0] = w.G;
            SolveCubic(ctx);
            ctx.AddRoot(4, " 0");
        } else {
            SolveDescartes(ctx);
        }
        ctx.status = "Solutions found";
    } catch (const RuntimeFailure& f) {
        ctx.errors.push_back(SolverErrorBox(f));
    }
}

} // namespace valdrex
