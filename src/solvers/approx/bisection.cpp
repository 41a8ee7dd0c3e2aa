#include "solvers/approx/bisection.h"

#include "core/checked_math.h"
#include "core/number_text.h"
#include "solvers/approx/method_options.h"

#include <cmath>
#include <cstdint>

namespace valdrex {
namespace {

constexpr char kSolutionsFound[] = "Solutions found";
constexpr char kNoSolutionFound[] = "No solution found";
// Progress reports are rare enough to cost nothing in the scan loop.
constexpr std::uint64_t kStepsPerReport = 65536;

// The share of [min, max] covered once the scan has reached x; 0 where it cannot be told.
double ShareScanned(double x, double min, double max) {
    const double share = (x - min) / (max - min);
    if (!(share > 0))
        return 0;
    return share < 1 ? share : 1;
}

class BisectionRun {
  public:
    BisectionRun(SolveContext& ctx, const MethodOptions& options)
        : ctx_(ctx), min_(TextToNumber(options.BisectionMinText)),
          max_(TextToNumber(options.BisectionMaxText)),
          inc_(TextToNumber(options.BisectionIncText)),
          tol_(AccuracyTolerance(options.AccuracyText)) {}

    // Returns the status text of a run that was not ended by a failure.
    std::string Run(const ScanProgress& progress) {
        const double end = Finite(max_ - inc_);
        std::uint64_t steps = 0;
        // X = Inc + X carries the rounding of every earlier addition. A step that would not
        // move X (an increment of 0, or one lost against X) ends the scan instead of hanging.
        for (double x = min_; inc_ >= 0 ? x <= end : x >= end;) {
            const double next = Finite(inc_ + x);
            if (next == x)
                break;
            Step(x, next);
            x = next;
            if (progress && ++steps % kStepsPerReport == 0 &&
                !progress(ShareScanned(x, min_, max_))) {
                ctx_.cancelled = true;
                return kScanCancelledStatus;
            }
        }
        return k_ > 0 ? kSolutionsFound : kNoSolutionFound;
    }

  private:
    // The step from x to next: a root exactly at x, at next when next is Max, or inside a
    // change of sign.
    void Step(double x, double next) {
        const double f1 = EvaluateP(ctx_.a, x);
        if (f1 == 0) {
            List(x);
            return;
        }
        const double f = EvaluateP(ctx_.a, next);
        if (f == 0) {
            // Any other zero at next is found as the X of the following step.
            if (next == max_)
                List(next);
            return;
        }
        if (Finite(f * f1) > 0)
            return;
        List(Halve(x, next, f1));
    }

    // Halves [l, r] until it is narrower than Tol. A midpoint equal to an end means no Double
    // lies between them, so it is as close as the root can get.
    double Halve(double l, double r, double f1) const {
        for (;;) {
            const double m = Finite(r + l) / 2;
            if (Finite(std::fabs(r - l)) < tol_ || m == l || m == r)
                return m;
            const double fm = EvaluateP(ctx_.a, m);
            if (fm == 0)
                return m;
            if (Finite(fm * f1) > 0)
                l = m;
            else
                r = m;
        }
    }

    void List(double root) {
        ++k_;
        // Only twelve root texts exist; noise near a multiple root can show more changes of
        // sign than the degree allows.
        if (k_ > kMaxRoots)
            FailSubscriptOutOfRange();
        ctx_.AddRoot(k_, NumberToStr(root));
    }

    SolveContext& ctx_;
    const double min_, max_, inc_, tol_;
    int k_ = 0;
};

} // namespace

void SolveBisection(SolveContext& ctx, const MethodOptions& options, const ScanProgress& progress) {
    try {
        const std::string status = BisectionRun(ctx, options).Run(progress);
        ctx.status = status;
    } catch (const RuntimeFailure& failure) {
        ctx.errors.push_back(SolverErrorBox(failure));
    }
}

} // namespace valdrex
