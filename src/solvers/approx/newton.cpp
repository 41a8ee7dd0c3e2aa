#include "solvers/approx/newton.h"

#include "core/checked_math.h"
#include "core/number_text.h"
#include "solvers/approx/method_options.h"

#include <cmath>

namespace valdrex {
namespace {

constexpr int kMaxSteps = 200;

// Returns the status text of a run that was not ended by a failure.
std::string RunNewton(SolveContext& ctx, const MethodOptions& options) {
    ctx.w.E = AccuracyTolerance(options.AccuracyText);
    double x = TextToNumber(options.NewtonX0Text);
    for (int step = 1; step <= kMaxSteps; ++step) {
        // X moves in place, so after the three moves it may differ from its start in the
        // last bit; the iteration goes on from where the moves left it.
        x = Finite(x + 0.001);
        const double f1 = EvaluateP(ctx.a, x);
        x = Finite(x - 0.002);
        const double f2 = EvaluateP(ctx.a, x);
        const double d = Finite(f1 - f2) / 0.002;
        x = Finite(x + 0.001);
        const double f = EvaluateP(ctx.a, x);
        if (d == 0)
            return "The Newton's method is unuseful";
        const double correction = CheckedDiv(f, d);
        x = Finite(x - correction);
        if (std::fabs(correction) < ctx.w.E) {
            ctx.AddRoot(1, NumberToStr(x));
            return "Solutions found";
        }
    }
    return "Too many iterations needed";
}

} // namespace

void SolveNewton(SolveContext& ctx, const MethodOptions& options) {
    try {
        const std::string status = RunNewton(ctx, options);
        ctx.status = status;
    } catch (const RuntimeFailure& failure) {
        ctx.errors.push_back(SolverErrorBox(failure));
    }
}

} // namespace valdrex
