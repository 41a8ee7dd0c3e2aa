#include "solvers/approx/bairstow.h"

#include "core/checked_math.h"
#include "core/number_text.h"
#include "solvers/approx/method_options.h"

#include <cmath>

namespace valdrex {
namespace {

constexpr char kSolutionsFound[] = "Solutions found";
constexpr char kUnuseful[] = "The Baristow method is unuseful";
constexpr char kTooManyIterations[] = "To many iterations needed";
constexpr char kNoSolution[] = "No solution";
constexpr int kLastCorrection = 100;

// One run over the polynomial normalised to leading coefficient 1, highest power first.
class BairstowRun {
  public:
    BairstowRun(SolveContext& ctx, const MethodOptions& options) : ctx_(ctx) {
        n_ = 0;
        for (int i = kCoefficientCount - 1; i >= 1 && n_ == 0; --i)
            if (ctx.a[i] != 0)
                n_ = i;
        for (int i = 0; i <= n_; ++i)
            y_[i] = ctx.a[n_ - i];
        for (int i = 1; i <= n_; ++i)
            y_[i] = CheckedDiv(y_[i], y_[0]);
        y_[0] = 1;
        ctx.w.E = AccuracyTolerance(options.AccuracyText);
        p_ = TextToNumber(options.BairstowPText);
        q_ = TextToNumber(options.BairstowQText);
    }

    // Returns the status text of a run that was not ended by a failure.
    std::string Run() {
        std::string status = kSolutionsFound;
        // Degrees below 3 cannot be iterated (the derivative sequence needs three terms);
        // they go straight to the last quadratic or linear factor.
        while (n_ > 2) {
            if (!ImproveFactor(status))
                return status;
            ListFactorRoots();
            n_ -= 2;
            for (int i = 1; i <= n_; ++i)
                y_[i] = u_[i];
        }
        if (n_ == 2) {
            p_ = y_[1];
            q_ = y_[2];
            ListFactorRoots();
        } else if (n_ == 1) {
            List(CheckedDiv(-y_[1], y_[0]));
        }
        return found_ ? status : kNoSolution;
    }

  private:
    // Corrects x^2 + Px + Q until |dP| + |dQ| < E; false (with the status set) when the
    // correction system is singular or 101 corrections did not suffice.
    bool ImproveFactor(std::string& status) {
        const int n = n_;
        for (int counter = 0;; ++counter) {
            u_[0] = y_[0];
            u_[1] = Finite(y_[1] - p_ * u_[0]);
            for (int i = 2; i <= n; ++i)
                u_[i] = Finite(y_[i] - p_ * u_[i - 1] - q_ * u_[i - 2]);
            v_[0] = u_[0];
            v_[1] = Finite(u_[1] - p_ * v_[0]);
            for (int i = 2; i <= n - 2; ++i)
                v_[i] = Finite(u_[i] - p_ * v_[i - 1] - q_ * v_[i - 2]);
            // The last derivative term leaves out U(N-1); the correction depends on it.
            v_[n - 1] = Finite(-p_ * v_[n - 2] - q_ * v_[n - 3]);

            ctx_.w.D = Finite(v_[n - 2] * v_[n - 2] - v_[n - 3] * v_[n - 1]);
            if (ctx_.w.D == 0) {
                status = kUnuseful;
                found_ = true;
                return false;
            }
            const double dp =
                CheckedDiv(Finite(v_[n - 2] * u_[n - 1] - v_[n - 3] * u_[n]), ctx_.w.D);
            const double dq =
                CheckedDiv(Finite(v_[n - 2] * u_[n] - v_[n - 1] * u_[n - 1]), ctx_.w.D);
            p_ = Finite(p_ + dp);
            q_ = Finite(q_ + dq);
            if (Finite(std::fabs(dp) + std::fabs(dq)) < ctx_.w.E)
                return true;
            if (counter == kLastCorrection) {
                status = kTooManyIterations;
                found_ = true;
                return false;
            }
        }
    }

    // The real roots of x^2 + Px + Q, the one with +sqrt(T) first; a complex pair is skipped.
    void ListFactorRoots() {
        ctx_.w.T = Finite(p_ * p_ - 4 * q_);
        if (ctx_.w.T < 0)
            return;
        const double s = CheckedSqrt(ctx_.w.T);
        List(Finite(-p_ + s) / 2);
        List(Finite(-p_ - s) / 2);
    }

    void List(double root) {
        ++k_;
        ctx_.AddRoot(k_, SingleText(root));
        found_ = true;
    }

    SolveContext& ctx_;
    int n_;
    std::array<double, kCoefficientCount> y_{}, u_{}, v_{};
    double p_ = 0, q_ = 0;
    int k_ = 0;
    bool found_ = false;
};

} // namespace

void SolveBairstow(SolveContext& ctx, const MethodOptions& options) {
    try {
        const std::string status = BairstowRun(ctx, options).Run();
        ctx.status = status;
    } catch (const RuntimeFailure& failure) {
        ctx.errors.push_back(SolverErrorBox(failure));
    }
}

} // namespace valdrex
