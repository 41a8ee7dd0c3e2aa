#include "solvers/exact/cubic.h"

#include "core/checked_math.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "solvers/exact/cardano.h"
#include "solvers/exact/pair_text.h"
#include "solvers/exact/quadratic.h"

#include <cmath>

namespace valdrex {
namespace {

// One real root and the pair RZ ± i·PIZ; the imaginary part is written without a blank.
void AddRootAndPair(SolveContext& ctx, double x1) {
    ctx.AddRoot(1, SingleText(x1));
    const double rz = ctx.w.RZ;
    const std::string realText = rz != 0 ? SingleText(rz) : "";
    const std::string imagText = NumberToText(ToSingle(ctx.w.PIZ));
    ctx.AddRoot(2, UpperPairText(realText, imagText));
    ctx.AddRoot(3, LowerPairText(realText, imagText));
}

} // namespace

double ArcCos(double x) {
    return kPi / 2 - std::atan(CheckedDiv(x, CheckedSqrt(1 - x * x)));
}

double CubeRoot(double x) {
    return Sgn(x) * CheckedPow(std::fabs(x), 1.0 / 3);
}

void SolveCubic(SolveContext& ctx) {
    try {
        Polynomial& a = ctx.a;
        if (a[3] < 0) {
            for (int i = 0; i <= 3; ++i)
                a[i] = -a[i];
        }
        if (a[0] == 0) {
            // x is a factor: the quadratic that is left goes one power down.
            a[0] = a[1];
            a[1] = a[2];
            a[2] = a[3];
            SolveQuadratic(ctx);
            ctx.AddRoot(3, " 0");
        } else {
            WorkingValues& w = ctx.w;
            w.B = CheckedDiv(a[2], a[3]);
            w.C = CheckedDiv(a[1], a[3]);
            w.D = CheckedDiv(a[0], a[3]);
            const auto x = CardanoRoots(w);
            if (w.T <= 0) {
                for (int k = 1; k <= 3; ++k)
                    ctx.AddRoot(k, SingleText(x[k - 1]));
            } else {
                AddRootAndPair(ctx, x[0]);
            }
        }
        ctx.status = "Solutions found";
    } catch (const RuntimeFailure& f) {
        ctx.errors.push_back(SolverErrorBox(f));
    }
}

} // namespace valdrex
