#include "solvers/all_roots/certification.h"
#include "solvers/all_roots/flint_values.h"
#include "solvers/all_roots/iteration.h"

#include <acb.h>
#include <arb.h>

#include <gtest/gtest.h>

#include <algorithm>
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
// these dyadic numbers) where the rounding is largest beside the value: at a root, real or
// complex, after every partial sum of Horner's scheme has grown as large as it gets (terms of one
// sign but the lowest ones, which cancel them), for every degree and sizes of root from 1 to 2^7.
// And it is not loose: at the roots the worst error seen comes within a factor 256 of it (a
// looser bound sends more equations to the slow path).
TEST(DoubleDoubleEvaluation, ErrorBoundHoldsAndIsTight) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> part(0, 1);
    Owned<acb_struct> x, sum, y;
    Real t, c;
    for (int n = 1; n <= kMaxDegree; ++n) {
        double worst = 0;
        for (int run = 0; run < 5000; ++run) {
            const double size = std::ldexp(1, run % 4 * 2);
            const bool complex = n >= 2 && run % 2 == 1;
            const Complex root{size * (1 + part(random)), complex ? size * (1 + part(random)) : 0};
            acb_set_d_d(x.get(), root.re, root.im);
            DoublePolynomial p;
            p.degree = n;
            // Σ_{k >= from} a_k·x^(k − from) into sum, exactly.
            const auto horner = [&](int from) {
                acb_zero(sum.get());
                for (int k = n; k >= from; --k) {
                    acb_mul(sum.get(), sum.get(), x.get(), ARF_PREC_EXACT);
                    for (const double d : {p.hi[k], p.lo[k]}) {
                        arb_set_d(c.get(), d);
                        acb_add_arb(sum.get(), sum.get(), c.get(), ARF_PREC_EXACT);
                    }
                }
                acb_mul(y.get(), sum.get(), x.get(), ARF_PREC_EXACT);
            };
            // a_k as the double-double nearest −v.
            const auto cancel = [&](int k, arb_srcptr v) {
                arb_neg(t.get(), v);
                p.hi[k] = arf_get_d(arb_midref(t.get()), ARF_RND_NEAR);
                arb_set_d(c.get(), p.hi[k]);
                arb_sub(t.get(), t.get(), c.get(), ARF_PREC_EXACT);
                p.lo[k] = arf_get_d(arb_midref(t.get()), ARF_RND_NEAR);
            };
            // Every third point away from a root, where the value's low part counts.
            const int low = run % 3 == 2 ? 0 : complex ? 2 : 1;
            for (int k = n; k >= low; --k) {
                p.hi[k] = 1 + part(random);
                p.lo[k] = std::ldexp(part(random), -54) * p.hi[k];
            }
            if (low == 2) { // a_1 makes (h + a_1)·x real for h = Σ_{k>=2} a_k·x^(k−1)
                horner(2);
                arb_mul(t.get(), acb_imagref(y.get()), acb_realref(x.get()), 300);
                arb_div(t.get(), t.get(), acb_imagref(x.get()), 300);
                arb_add(t.get(), t.get(), acb_realref(y.get()), 300);
                cancel(1, t.get());
            }
            if (low >= 1) {
                horner(1);
                cancel(0, acb_realref(y.get()));
            }
            horner(0); // now the exact p(root)
            const BoundedValue v = EvaluateBounded(p, root);
            acb_set_d_d(y.get(), v.v.re, v.v.im);
            acb_sub(sum.get(), sum.get(), y.get(), ARF_PREC_EXACT);
            // |error|² against the bound², exactly.
            arb_sqr(t.get(), acb_realref(sum.get()), ARF_PREC_EXACT);
            arb_addmul(t.get(), acb_imagref(sum.get()), acb_imagref(sum.get()), ARF_PREC_EXACT);
            arb_set_d(c.get(), v.error);
            arb_sqr(c.get(), c.get(), ARF_PREC_EXACT);
            EXPECT_TRUE(arb_le(t.get(), c.get())) << "degree " << n << ", run " << run;
            // Away from a root the dropped low parts make up most of both.
            const double error = std::sqrt(arf_get_d(arb_midref(t.get()), ARF_RND_NEAR));
            if (low > 0)
                worst = std::fmax(worst, error / v.error);
        }
        EXPECT_GT(worst, 1.0 / 256) << "degree " << n;
    }
}

} // namespace
// Rouché's discs around approximations of every quality, from a few digits to nearly none: when
// the test passes, each disc holds exactly one of the chosen roots, counted with multiplicity,
// within `radius` of its doubles and `error` of its exact centre; a real one for a real disc.
// Roots of integer parts of modulus up to 24 keep the coefficients below 25^12, exact in longs.
TEST(Inclusion, EachDiscHoldsItsRootWhateverTheApproximations) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> unit(0, 1);
    std::uniform_int_distribution<long> part(-16, 16);
    int proved = 0;
    for (int run = 0; run < 3000; ++run) {
        const int n = 3 + run % 10;
        const int pairs = static_cast<int>(unit(random) * (n / 2 + 1));
        std::vector<Complex> roots;
        std::vector<long> c{1}; // lowest power first
        const auto times = [&](std::vector<long> f) {
            std::vector<long> product(c.size() + f.size() - 1);
            for (std::size_t i = 0; i < c.size(); ++i)
                for (std::size_t j = 0; j < f.size(); ++j)
                    product[i + j] += c[i] * f[j];
            c = product;
        };
        for (int i = 0; i < n - pairs; ++i) { // the real roots, then the pairs a ± bi
            const long a = part(random), b = i < n - 2 * pairs ? 0 : 1 + std::labs(part(random));
            roots.push_back({static_cast<double>(a), static_cast<double>(b)});
            if (b != 0)
                roots.push_back({static_cast<double>(a), static_cast<double>(-b)});
            times(b == 0 ? std::vector<long>{-a, 1} : std::vector<long>{a * a + b * b, -2 * a, 1});
        }
        // Each approximation moved from its root by up to a fraction of the distance to the
        // nearest other root, conjugates mirrored and real roots along the axis.
        RootApproximations approx{};
        const double fraction = std::pow(10, -4 * unit(random));
        for (int i = 0; i < n; ++i) {
            double nearest = INFINITY;
            for (int j = 0; j < n; ++j)
                if (j != i)
                    nearest = std::fmin(nearest, std::sqrt(Norm(roots[i] - roots[j])));
            const double size = fraction * nearest * unit(random), angle = 7 * unit(random);
            Complex move{size * std::cos(angle), roots[i].im == 0 ? 0 : size * std::sin(angle)};
            if (roots[i].im < 0)
                move = {approx[i - 1].re - roots[i - 1].re, roots[i - 1].im - approx[i - 1].im};
            approx[i] = {roots[i].re + move.re, roots[i].im + move.im};
        }
        RootDiscs discs;
        if (!IncludeRoots(ToDoublePolynomial(c.data(), n), approx, discs))
            continue;
        ++proved;
        ASSERT_EQ(discs.count, n - pairs);
        Owned<acb_struct> t, low;
        Owned<arb_struct> distance, limit;
        // |root − (re + reLo, im + imLo)| <= bound, in ball arithmetic (an edge is outside).
        const auto within = [&](const Complex& root, double re, double reLo, double im, double imLo,
                                double bound) {
            acb_set_d_d(t.get(), root.re - re, root.im - im); // exact: near each other
            acb_set_d_d(low.get(), reLo, imLo);
            acb_sub(t.get(), t.get(), low.get(), 300);
            acb_abs(distance.get(), t.get(), 300);
            arb_set_d(limit.get(), bound);
            return arb_le(distance.get(), limit.get()) != 0;
        };
        for (int d = 0; d < discs.count; ++d) {
            const RootDisc& disc = discs.discs[d];
            int inside = 0;
            for (const Complex& root : roots) {
                const bool inRadius = within(root, disc.re, 0, disc.im, 0, disc.radius);
                EXPECT_EQ(inRadius,
                          within(root, disc.re, disc.reLo, disc.im, disc.imLo, disc.error));
                EXPECT_TRUE(!inRadius || disc.im != 0 || root.im == 0);
                inside += inRadius;
            }
            EXPECT_EQ(inside, 1) << "run " << run << ", disc " << d;
        }
    }
    EXPECT_GT(proved, 1500);
}

} // namespace valdrex::testing
