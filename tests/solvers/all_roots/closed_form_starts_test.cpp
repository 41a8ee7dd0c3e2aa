#include "solvers/all_roots/certification.h"
#include "solvers/all_roots/flint_values.h"
#include "solvers/all_roots/iteration.h"

#include <arb.h>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace valdrex::testing {
namespace {

struct Case {
    std::vector<long> coefficients; // lowest power first
    std::vector<Complex> roots;     // none when the formulas must refuse
};

// A fault in the formulas costs only speed (the iteration starts afresh), so it is caught here:
// every root has a start within 1e-9 of it, in each shape the formulas take, and the starts the
// iteration could not use are refused.
TEST(ClosedFormStarts, StartNextToEveryRoot) {
    const std::vector<Case> cases = {
        {{6, -7, 0, 1}, {{1, 0}, {2, 0}, {-3, 0}}}, // three real roots
        {{-2, -1, -1, 1}, {{2, 0}, {-0.5, 0.8660254037844386}, {-0.5, -0.8660254037844386}}},
        {{24, -50, 35, -10, 1}, {{1, 0}, {2, 0}, {3, 0}, {4, 0}}},
        {{48, -100, 70, -20, 2}, {{1, 0}, {2, 0}, {3, 0}, {4, 0}}}, // not monic
        {{12, -14, 0, 2}, {{1, 0}, {2, 0}, {-3, 0}}},
        {{4, 0, 5, 0, 1}, {{0, 1}, {0, -1}, {0, 2}, {0, -2}}}, // x² + 1, x² + 4: no odd part
        {{-15, 4, 6, 4, 1}, {{1, 0}, {-3, 0}, {-1, 2}, {-1, -2}}},
        {{10, -6, 3, 0, 1}, {{1, 1}, {1, -1}, {-1, 2}, {-1, -2}}},
        {{3, -4, 0, 0, 1}, {}},            // (x − 1)²(x² + 2x + 3): a double root
        {{-2, 86, -3982669232, 1, 1}, {}}, // roots of sizes 6e4 and 2e-5: two real starts
        {{1, 0, 0, 0, 0, 1}, {}},          // degree 5
        {{-100000, 1, -100000, 1}, {}},    // (x − 10^5)(x² + 1): sizes far apart
        {{-1, 100000, -1, 100000}, {}},    // (10^5 x − 1)(x² + 1)
        // Roots 9·10^4 and 1/900 in y = x²: the small one taken by cancellation would be far off.
        {{90000, 0, -81000001, 0, 900}, {{300, 0}, {-300, 0}, {1.0 / 30, 0}, {-1.0 / 30, 0}}},
    };
    for (const Case& c : cases) {
        const int degree = static_cast<int>(c.coefficients.size()) - 1;
        RootApproximations z{};
        const bool found = ClosedFormStarts(ToDoublePolynomial(c.coefficients.data(), degree), z);
        ASSERT_EQ(found, !c.roots.empty()) << "degree " << degree << ", x0 " << c.coefficients[0];
        for (std::size_t i = 0; i < c.roots.size(); ++i) {
            double nearest = INFINITY;
            for (int k = 0; k < degree; ++k)
                nearest = std::fmin(nearest, std::sqrt(Norm(z[k] - c.roots[i])));
            EXPECT_LT(nearest, 1e-9) << "x0 " << c.coefficients[0] << ", root " << i;
        }
    }
}

// The error bound of the double-double evaluation holds against the exact value (Arb, exact on
// these dyadic numbers) where the rounding is largest beside the value: at a root, after every
// partial sum of Horner's scheme has grown as large as it gets (terms of one sign but the
// constant, which cancels them), for every degree and sizes of root from 1 to 2^7. And it is not
// loose: the worst error seen comes within a factor 256 of it (a looser bound sends more
// equations to the slow path).
TEST(DoubleDoubleEvaluation, ErrorBoundHoldsAndIsTight) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> part(0, 1);
    Real sum, x, term;
    const auto add = [&](double d) {
        arb_set_d(term.get(), d);
        arb_add(sum.get(), sum.get(), term.get(), ARF_PREC_EXACT);
    };
    for (int n = 1; n <= kMaxDegree; ++n) {
        double worst = 0;
        for (int run = 0; run < 5000; ++run) {
            const Complex root{std::ldexp(1 + part(random), run % 4 * 2), 0};
            DoublePolynomial p;
            p.degree = n;
            arb_zero(sum.get());
            arb_set_d(x.get(), root.re);
            for (int k = n; k >= 1; --k) {
                p.hi[k] = 1 + part(random);
                p.lo[k] = std::ldexp(part(random), -54) * p.hi[k];
                add(p.hi[k]);
                add(p.lo[k]);
                arb_mul(sum.get(), sum.get(), x.get(), ARF_PREC_EXACT);
            }
            p.hi[0] = -arf_get_d(arb_midref(sum.get()), ARF_RND_NEAR);
            add(p.hi[0]);
            p.lo[0] = -arf_get_d(arb_midref(sum.get()), ARF_RND_NEAR);
            add(p.lo[0]); // now the exact p(root)
            const BoundedValue v = EvaluateBounded(p, root);
            add(-v.v.re);
            const double error = std::fabs(arf_get_d(arb_midref(sum.get()), ARF_RND_UP));
            EXPECT_LE(error, v.error) << "degree " << n << ", run " << run;
            worst = std::fmax(worst, error / v.error);
        }
        EXPECT_GT(worst, 1.0 / 256) << "degree " << n;
    }
}

} // namespace
} // namespace valdrex::testing
