#include "core/number_text.h"
#include "solvers/approx/bairstow.h"
#include "solvers/approx/bisection.h"
#include "solvers/approx/newton.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>

namespace valdrex {
namespace {

// Half the polynomials have random coefficients, half are products of integer roots and a
// quadratic, so that every method meets both real roots and hard cases.
Polynomial Draw(std::mt19937& rng) {
    std::uniform_int_distribution<int> degreeOf(3, 12);
    std::uniform_int_distribution<int> coefficient(-9, 9);
    std::uniform_int_distribution<int> root(-6, 6);
    const int degree = degreeOf(rng);
    Polynomial a{};
    if (std::bernoulli_distribution(0.5)(rng)) {
        for (int i = 0; i <= degree; ++i)
            a[i] = coefficient(rng);
        while (a[degree] == 0)
            a[degree] = coefficient(rng);
        return a;
    }
    a[0] = coefficient(rng);
    a[1] = coefficient(rng);
    a[2] = 1;
    for (int n = 2; n < degree; ++n) {
        const double r = root(rng);
        for (int i = n + 1; i >= 1; --i)
            a[i] = a[i - 1] - r * a[i];
        a[0] = -r * a[0];
    }
    return a;
}

// Bounds |P(r)| for a listed root r relative to the size of the terms at r. With
// m = max(|r|, 1) and scale = sum |a_i| m^i, |P'| is at most 12 * scale / m near r, so a value
// off a true root by delta * m leaves |P(r)| <= 12 * delta * scale. Bairstow lists single
// precision (delta about 2^-24 plus a factor converged to 1E-08); bisection leaves a bracket
// narrower than 1E-08; Newton stops once its last step is below 1E-08, which near a root of
// multiplicity k can still be k * 1E-08 away. So delta stays near 1E-07 and |P(r)| below about
// 1.5E-06 * scale; 1E-04 keeps a margin for the rounding of P itself, while a listed value
// that is not close to a root leaves a residual comparable to the scale.
constexpr double kRelativeResidual = 1e-4;

void ExpectTrueRoots(const Polynomial& a, const SolveContext& ctx, const char* method) {
    EXPECT_NE(ctx.status.empty(), ctx.errors.empty()) << method;
    for (std::size_t k = 1; k <= ctx.lines.size(); ++k) {
        const long double r = TextToNumber(ctx.SolText[k]);
        const long double m = std::max(std::fabs(r), 1.0L);
        long double value = 0, scale = 0;
        for (int i = kCoefficientCount - 1; i >= 0; --i) {
            value = value * r + a[i];
            scale = scale * m + std::fabs(a[i]);
        }
        EXPECT_LE(std::fabs(value), kRelativeResidual * scale)
            << method << " root " << ctx.SolText[k];
    }
}

TEST(ApproximateMethodsSweep, EveryRunEndsAndListsOnlyTrueRoots) {
    std::mt19937 rng(77031);
    const MethodOptions defaults;
    const std::pair<const char*, std::function<void(SolveContext&)>> methods[] = {
        {"Bairstow", [&](SolveContext& ctx) { SolveBairstow(ctx, defaults); }},
        {"bisection", [&](SolveContext& ctx) { SolveBisection(ctx, defaults); }},
        {"Newton", [&](SolveContext& ctx) { SolveNewton(ctx, defaults); }},
    };
    int listed = 0;
    for (int run = 0; run < 2000; ++run) {
        const Polynomial a = Draw(rng);
        SCOPED_TRACE(::testing::Message() << "run " << run);
        for (const auto& [name, solve] : methods) {
            SolveContext ctx;
            ctx.a = a;
            solve(ctx);
            ExpectTrueRoots(a, ctx, name);
            listed += static_cast<int>(ctx.lines.size());
        }
    }
    EXPECT_GT(listed, 5000);
}

} // namespace
} // namespace valdrex
