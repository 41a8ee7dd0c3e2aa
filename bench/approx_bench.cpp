#include "solvers/approx/bairstow.h"
#include "solvers/approx/bisection.h"
#include "solvers/approx/newton.h"
#include "solvers/approx/rational.h"

#include <benchmark/benchmark.h>

#include <initializer_list>

namespace valdrex {
namespace {

Polynomial FromHighest(std::initializer_list<double> coefficients) {
    Polynomial a{};
    int power = static_cast<int>(coefficients.size()) - 1;
    for (double c : coefficients)
        a[power--] = c;
    return a;
}

// The product of (x - r) over the given roots, times x^2 + 1.
Polynomial WithRoots(std::initializer_list<double> roots) {
    Polynomial a = FromHighest({1, 0, 1});
    int degree = 2;
    for (double r : roots) {
        for (int i = degree + 1; i >= 1; --i)
            a[i] = a[i - 1] - r * a[i];
        a[0] = -r * a[0];
        ++degree;
    }
    return a;
}

void RunRational(benchmark::State& state, const Polynomial& a) {
    for (auto _ : state) {
        SolveContext ctx;
        ctx.a = a;
        SolveRational(ctx);
        benchmark::DoNotOptimize(ctx);
    }
}

// Lead 8 * 2*3*5*7*11*13*17*19*23 (1280 divisors) and the prime 1999999973.
void BM_RationalNear2E9(benchmark::State& state) {
    RunRational(state, FromHighest({1784742960, 0, 1999999973}));
}
BENCHMARK(BM_RationalNear2E9);

// x^2 + 1999999973: the numerators jump from 1 straight to the prime itself.
void BM_RationalPrimeConstant(benchmark::State& state) {
    RunRational(state, FromHighest({1, 0, 1999999973}));
}
BENCHMARK(BM_RationalPrimeConstant);

// (x + 25200)(x + 29172): hundreds of divisors of 735134400 are tried before the first root.
void BM_RationalHighlyCompositeConstant(benchmark::State& state) {
    RunRational(state, FromHighest({1, 54372, 735134400}));
}
BENCHMARK(BM_RationalHighlyCompositeConstant);

// Degree 12 with 735134400 (1344 divisors) as leading and constant coefficient.
void BM_RationalDegree12HighlyComposite(benchmark::State& state) {
    RunRational(state, FromHighest({735134400, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 735134400}));
}
BENCHMARK(BM_RationalDegree12HighlyComposite);

// (x + 1)^12: twelve passes, each finding -1 at once.
void BM_RationalDegree12AllRoots(benchmark::State& state) {
    RunRational(state, FromHighest({1, 12, 66, 220, 495, 792, 924, 792, 495, 220, 66, 12, 1}));
}
BENCHMARK(BM_RationalDegree12AllRoots);

const Polynomial kDegree12 = WithRoots({1, -2, 3, -4, 5, -6, 7, -8, 9, -1});

template <typename Solve> void RunApproximate(benchmark::State& state, Solve solve) {
    const MethodOptions defaults;
    for (auto _ : state) {
        SolveContext ctx;
        ctx.a = kDegree12;
        solve(ctx, defaults);
        benchmark::DoNotOptimize(ctx);
    }
}

void BM_BairstowDegree12(benchmark::State& state) {
    RunApproximate(state, [](SolveContext& ctx, const MethodOptions& o) { SolveBairstow(ctx, o); });
}
BENCHMARK(BM_BairstowDegree12);

void BM_BisectionDegree12(benchmark::State& state) {
    RunApproximate(state,
                   [](SolveContext& ctx, const MethodOptions& o) { SolveBisection(ctx, o); });
}
BENCHMARK(BM_BisectionDegree12);

void BM_NewtonDegree12(benchmark::State& state) {
    RunApproximate(state, [](SolveContext& ctx, const MethodOptions& o) { SolveNewton(ctx, o); });
}
BENCHMARK(BM_NewtonDegree12);

} // namespace
} // namespace valdrex
