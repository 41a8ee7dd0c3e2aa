// The all-roots engine against its peers on the same random integer polynomials (coefficients
// -20..20): GSL's companion-matrix solver with the roots printed, and MPSolve with a 53-bit goal.
// Then the hard set, one equation at a time, at 15 and 30 digits.
#include "solvers/all_roots/all_roots.h"

#include <benchmark/benchmark.h>
#include <gsl/gsl_errno.h>
#include <gsl/gsl_poly.h>
#include <mps/mps.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using valdrex::CoefficientTexts;

constexpr int kCorpusSize = 512;

// Random polynomials of one degree, lowest power first, with a nonzero leading coefficient.
std::vector<std::vector<int>> Corpus(int degree) {
    std::mt19937 random(static_cast<unsigned>(degree) * 7919u);
    std::uniform_int_distribution<int> coefficient(-20, 20);
    std::vector<std::vector<int>> corpus(kCorpusSize, std::vector<int>(degree + 1));
    for (auto& p : corpus) {
        for (int& c : p)
            c = coefficient(random);
        while (p[degree] == 0)
            p[degree] = coefficient(random);
    }
    return corpus;
}

std::vector<CoefficientTexts> AsTexts(const std::vector<std::vector<int>>& corpus) {
    std::vector<CoefficientTexts> texts(corpus.size());
    for (std::size_t i = 0; i < corpus.size(); ++i)
        for (std::size_t k = 0; k < corpus[i].size(); ++k)
            texts[i][k] = std::to_string(corpus[i][k]);
    return texts;
}

void AllRoots(benchmark::State& state) {
    const auto texts = AsTexts(Corpus(static_cast<int>(state.range(0))));
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(valdrex::FindAllRoots(texts[i], 15));
        i = (i + 1) % texts.size();
    }
}
BENCHMARK(AllRoots)->Arg(2)->Arg(4)->Arg(8)->Arg(12);
// MPSolve works on threads of its own: its comparison counts the CPU time of the whole process
// (and the wall time, run pinned to one core), the engine's beside it the same way.
BENCHMARK(AllRoots)->Name("AllRootsProcessTime")->Arg(12)->MeasureProcessCPUTime()->UseRealTime();

// The peer as bench/gsl_peer.c runs it: solve, then print every root (7 digits) to a buffer.
class GslPeer {
  public:
    explicit GslPeer(int degree)
        : degree_(degree), w_(gsl_poly_complex_workspace_alloc(degree + 1)), a_(degree + 1),
          z_(2 * degree) {
        gsl_set_error_handler_off();
    }
    ~GslPeer() { gsl_poly_complex_workspace_free(w_); }
    GslPeer(const GslPeer&) = delete;
    GslPeer& operator=(const GslPeer&) = delete;

    void SolveAndPrint(const std::vector<int>& p) {
        for (int k = 0; k <= degree_; ++k)
            a_[k] = p[k];
        gsl_poly_complex_solve(a_.data(), degree_ + 1, w_, z_.data());
        int at = 0;
        for (int k = 0; k < degree_; ++k)
            at += std::snprintf(text_ + at, sizeof text_ - at, " %.7g%+.7gi", z_[2 * k],
                                z_[2 * k + 1]);
        benchmark::DoNotOptimize(text_);
    }

  private:
    int degree_;
    gsl_poly_complex_workspace* w_;
    std::vector<double> a_, z_;
    char text_[1024];
};

void GslWithPrinting(benchmark::State& state) {
    const int degree = static_cast<int>(state.range(0));
    const auto corpus = Corpus(degree);
    GslPeer peer(degree);
    std::size_t i = 0;
    for (auto _ : state) {
        peer.SolveAndPrint(corpus[i]);
        i = (i + 1) % corpus.size();
    }
}
BENCHMARK(GslWithPrinting)->Arg(2)->Arg(4)->Arg(8)->Arg(12);

// Both on the same polynomial in turn, each timed on its own: the ratio stays fair on a machine
// whose load changes while the benchmark runs.
void AllRootsOverGsl(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const int degree = static_cast<int>(state.range(0));
    const auto corpus = Corpus(degree);
    const auto texts = AsTexts(corpus);
    GslPeer gsl(degree);
    Clock::duration ours{}, peer{};
    std::size_t i = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(valdrex::FindAllRoots(texts[i], 15));
        const auto t1 = Clock::now();
        gsl.SolveAndPrint(corpus[i]);
        const auto t2 = Clock::now();
        ours += t1 - t0;
        peer += t2 - t1;
        i = (i + 1) % corpus.size();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["all_roots_ns"] = std::chrono::duration<double, std::nano>(ours).count() / n;
    state.counters["gsl_ns"] = std::chrono::duration<double, std::nano>(peer).count() / n;
    state.counters["ratio"] = static_cast<double>(ours.count()) / static_cast<double>(peer.count());
}
BENCHMARK(AllRootsOverGsl)->Arg(2)->Arg(4)->Arg(8)->Arg(12);

void MpSolve53Bits(benchmark::State& state) {
    const int degree = static_cast<int>(state.range(0));
    const auto corpus = Corpus(degree);
    std::size_t i = 0;
    cplx_t* roots = cplx_valloc(degree);
    for (auto _ : state) {
        mps_context* ctx = mps_context_new();
        mps_monomial_poly* p = mps_monomial_poly_new(ctx, degree);
        for (int k = 0; k <= degree; ++k)
            mps_monomial_poly_set_coefficient_int(ctx, p, k, corpus[i][k], 0);
        mps_context_set_input_poly(ctx, MPS_POLYNOMIAL(p));
        mps_context_set_output_prec(ctx, 53);
        mps_context_set_output_goal(ctx, MPS_OUTPUT_GOAL_ISOLATE);
        mps_mpsolve(ctx);
        mps_context_get_roots_d(ctx, &roots, nullptr);
        benchmark::DoNotOptimize(roots);
        mps_polynomial_free(ctx, MPS_POLYNOMIAL(p));
        mps_context_free(ctx);
        i = (i + 1) % corpus.size();
    }
    cplx_vfree(roots);
}
// Its public interface sets no number of threads; only pinning the process limits them.
BENCHMARK(MpSolve53Bits)->Arg(12)->MeasureProcessCPUTime()->UseRealTime();

// Lowest power first.
CoefficientTexts Texts(std::vector<std::string> lowestFirst) {
    CoefficientTexts t{};
    for (std::size_t k = 0; k < lowestFirst.size(); ++k)
        t[k] = lowestFirst[k];
    return t;
}

const std::vector<std::pair<const char*, CoefficientTexts>>& HardSet() {
    static const std::vector<std::pair<const char*, CoefficientTexts>> set = {
        {"(x-1)(x-2)...(x-12)",
         Texts({"479001600", "-1486442880", "1931559552", "-1414014888", "657206836", "-206070150",
                "44990231", "-6926634", "749463", "-55770", "2717", "-78", "1"})},
        {"Chebyshev T12", Texts({"1", "0", "-72", "0", "840", "0", "-3584", "0", "6912", "0",
                                 "-6144", "0", "2048"})},
        {"x^12-1", Texts({"-1", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "1"})},
        {"x^12-2(100x-1)^2",
         Texts({"-2", "400", "-20000", "0", "0", "0", "0", "0", "0", "0", "0", "0", "1"})},
        {"(x-1)^12", Texts({"1", "-12", "66", "-220", "495", "-792", "924", "-792", "495", "-220",
                            "66", "-12", "1"})},
        {"(x-1)(x-1.001)...(x-1.011)",
         Texts({"1.0679580300739436361391145597568", "-12.7455469079271736101352990555968",
                "69.71781118343327161430133047184", "-231.123764388269781078483221976",
                "517.188391532124853108908076", "-822.98123649115680120573",
                "954.899004306320245535", "-814.012178982021558", "505.976919387423",
                "-223.64928267", "66.727925", "-12.066", "1"})},
        {"coefficients 1e-6..1e6",
         Texts({"1000000", "-123456.7", "2345.678", "-34.56789", "1.234567", "-0.0123456",
                "0.000123", "-0.000001", "0.5", "-12.5", "1234.5", "-98765.4", "0.000002"})},
    };
    return set;
}

void HardEquation(benchmark::State& state) {
    const auto& [name, texts] = HardSet()[static_cast<std::size_t>(state.range(0))];
    const int digits = static_cast<int>(state.range(1));
    state.SetLabel(name);
    for (auto _ : state)
        benchmark::DoNotOptimize(valdrex::FindAllRoots(texts, digits));
}
BENCHMARK(HardEquation)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {15, 30}})
    ->Unit(benchmark::kMicrosecond);

} // namespace
