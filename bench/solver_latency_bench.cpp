// Latency of one solver run on random integer polynomials like the throughput corpus
// (coefficients in [-20, 20], leading one non-zero), with the method dialogs' defaults.
#include "solvers/approx/bairstow.h"
#include "solvers/approx/bisection.h"
#include "solvers/approx/newton.h"
#include "solvers/approx/rational.h"
#include "solvers/exact/exact_solver.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace valdrex {
namespace {

std::vector<Polynomial> RandomPolynomials(int degree) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> coefficient(-20, 20);
    std::vector<Polynomial> polynomials(64);
    for (Polynomial& a : polynomials) {
        a = {};
        for (int i = 0; i <= degree; ++i)
            a[i] = coefficient(random);
        while (a[degree] == 0)
            a[degree] = coefficient(random);
    }
    return polynomials;
}

template <typename Solver> void Solve(benchmark::State& state, int degree, Solver solver) {
    const std::vector<Polynomial> polynomials = RandomPolynomials(degree);
    std::size_t next = 0;
    for (auto _ : state) {
        SolveContext ctx;
        ctx.a = polynomials[next++ % polynomials.size()];
        solver(ctx);
        benchmark::DoNotOptimize(ctx.lines.data());
    }
}

const MethodOptions kDialogDefaults;

void ExactDegree4(benchmark::State& state) {
    Solve(state, 4, [](SolveContext& ctx) { SolveExact(ctx); });
}
void RationalDegree12(benchmark::State& state) {
    Solve(state, 12, [](SolveContext& ctx) { SolveRational(ctx); });
}
void BairstowDegree12(benchmark::State& state) {
    Solve(state, 12, [](SolveContext& ctx) { SolveBairstow(ctx, kDialogDefaults); });
}
void BisectionDegree12(benchmark::State& state) {
    Solve(state, 12, [](SolveContext& ctx) { SolveBisection(ctx, kDialogDefaults); });
}
void NewtonDegree12(benchmark::State& state) {
    Solve(state, 12, [](SolveContext& ctx) { SolveNewton(ctx, kDialogDefaults); });
}

BENCHMARK(ExactDegree4)->Unit(benchmark::kMicrosecond);
BENCHMARK(RationalDegree12)->Unit(benchmark::kMicrosecond);
BENCHMARK(BairstowDegree12)->Unit(benchmark::kMicrosecond);
BENCHMARK(BisectionDegree12)->Unit(benchmark::kMicrosecond);
BENCHMARK(NewtonDegree12)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace valdrex
