// The all-roots engine against its peers on the same random integer polynomials (coefficients
// -20..20): GSL's companion-matrix solver with the roots printed, and MPSolve with a 53-bit goal.
// Then the hard set, one equation at a time, at 15 and 30 digits.
#include "hard_families.h"
#include "solvers/all_roots/all_roots.h"
#include "solvers/all_roots/enclosures.h"

#include <arb_fmpz_poly.h>
#include <benchmark/benchmark.h>
#include <gsl/gsl_errno.h>
#include <gsl/gsl_poly.h>
#include <mps/mps.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
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

// MPSolve as a caller uses it: a context per polynomial, `setCoefficient(ctx, poly, k)` for each
// power, the goal at `bits` bits, the roots read back. True when it reports every root isolated
// (not left in a cluster narrower than the goal).
template <typename SetCoefficient>
bool SolveWithMpSolve(int degree, long bits, mps_output_goal goal, cplx_t* roots,
                      SetCoefficient setCoefficient) {
    mps_context* ctx = mps_context_new();
    mps_monomial_poly* p = mps_monomial_poly_new(ctx, degree);
    for (int k = 0; k <= degree; ++k)
        setCoefficient(ctx, p, k);
    mps_context_set_input_poly(ctx, MPS_POLYNOMIAL(p));
    mps_context_set_output_prec(ctx, bits);
    mps_context_set_output_goal(ctx, goal);
    mps_mpsolve(ctx);
    mps_context_get_roots_d(ctx, &roots, nullptr);
    benchmark::DoNotOptimize(roots);
    bool isolated = true;
    for (int i = 0; i < degree; ++i) {
        const mps_root_status status = mps_context_get_root_status(ctx, i);
        isolated = isolated &&
                   (status == MPS_ROOT_STATUS_ISOLATED || status == MPS_ROOT_STATUS_APPROXIMATED);
    }
    mps_polynomial_free(ctx, MPS_POLYNOMIAL(p));
    mps_context_free(ctx);
    return isolated;
}

void MpSolve53Bits(benchmark::State& state) {
    const int degree = static_cast<int>(state.range(0));
    const auto corpus = Corpus(degree);
    std::size_t i = 0;
    cplx_t* roots = cplx_valloc(degree);
    for (auto _ : state) {
        SolveWithMpSolve(degree, 53, MPS_OUTPUT_GOAL_ISOLATE, roots,
                         [&](mps_context* ctx, mps_monomial_poly* p, int k) {
                             mps_monomial_poly_set_coefficient_int(ctx, p, k, corpus[i][k], 0);
                         });
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

// The isolation of hard equations (IsolateRoots, the engine's big-number path) against MPSolve
// asked for the same number of correct bits, and against the path before it, one call of Arb's
// arb_fmpz_poly_complex_roots at the precision that path started with (81 bits for 15 digits,
// 131 for 30; it doubled from there until the digits were proved). Arg 0 picks the equation,
// arg 1 the bits (53 for 15 digits, 110 for 30).
namespace hard {

using namespace valdrex::testing;

struct Equation {
    const char* name;
    std::function<void(fmpz_poly_t)> make;
};

// Degree 12, the same coefficients on every run.
void Random(fmpz_poly_t p, long digits) {
    flint_rand_t state;
    flint_randinit(state);
    RandomPolynomial(p, 12, digits, state);
    flint_randclear(state);
}

const std::vector<Equation>& Equations() {
    static const std::vector<Equation> equations = {
        {"x^12-2(1e20x-1)^2", [](fmpz_poly_t p) { Mignotte(p, 12, 20); }},
        {"x^12-2(1e50x-1)^2", [](fmpz_poly_t p) { Mignotte(p, 12, 50); }},
        {"(1e20x^2-3)^2+1e20x^12", [](fmpz_poly_t p) { Kameny(p, 12, 10); }},
        {"(1e100x^2-3)^2+1e100x^12", [](fmpz_poly_t p) { Kameny(p, 12, 50); }},
        {"prod(x-1-k*1e-30), k=1..12", [](fmpz_poly_t p) { TightCluster(p, 12, 30, 0); }},
        {"the same scaled, +1", [](fmpz_poly_t p) { TightCluster(p, 12, 30, 1); }},
        {"(x-1)^2+1e-60", [](fmpz_poly_t p) { NearMultiple(p, 2, 60); }},
        {"(x-1)^7+1e-60", [](fmpz_poly_t p) { NearMultiple(p, 7, 60); }},
        {"(x-1)^12+1e-60", [](fmpz_poly_t p) { NearMultiple(p, 12, 60); }},
        {"(x-1e20)^6(1e20x-1)^6+1", [](fmpz_poly_t p) { DifferentSizes(p, 6, 20); }},
        {"prod(x-k*1e20)(1e20x-k), k=1..6", [](fmpz_poly_t p) { SpreadRational(p, 6, 20); }},
        {"random, 1000 digits", [](fmpz_poly_t p) { Random(p, 1000); }},
        {"random, 10000 digits", [](fmpz_poly_t p) { Random(p, 10000); }},
        // Only through the engine: the isolation alone takes square-free polynomials.
        {"x^12-2(1e99x-1)^2", [](fmpz_poly_t p) { Mignotte(p, 12, 99); }},
        {"(x-1e20)^6(1e20x-1)^6",
         [](fmpz_poly_t p) {
             DifferentSizes(p, 6, 20);
             fmpz_sub_ui(p->coeffs, p->coeffs, 1);
         }},
    };
    return equations;
}

// The equation that arg 0 picks, the benchmark labelled with its name.
void Pick(benchmark::State& state, Polynomial& f) {
    const Equation& equation = Equations()[static_cast<std::size_t>(state.range(0))];
    equation.make(f.get());
    state.SetLabel(equation.name);
}

void Isolate(benchmark::State& state) {
    Polynomial f;
    Pick(state, f);
    valdrex::Balls roots(f.degree());
    for (auto _ : state)
        valdrex::IsolateRoots(f.get(), state.range(1), roots.get(), nullptr);
}

// MPSolve at the same bits leaves a cluster narrower than them unisolated, so, as a caller that
// needs isolation would, it is asked again at twice the bits until every root is isolated; all
// attempts count. The counter gives the bits that isolated.
void MpSolve(benchmark::State& state) {
    Polynomial f;
    Pick(state, f);
    const int n = static_cast<int>(f.degree());
    mpq_t re, im;
    mpq_init(re);
    mpq_init(im);
    cplx_t* roots = cplx_valloc(n);
    long bits = 0;
    for (auto _ : state)
        for (bits = state.range(1);
             !SolveWithMpSolve(n, bits, MPS_OUTPUT_GOAL_ISOLATE, roots,
                               [&](mps_context*ctx, mps_monomial_poly*p, int k) {
                                   fmpz_get_mpz(mpq_numref(re), f.get()->coeffs + k);
                                   mps_monomial_poly_set_coefficient_q(ctx, p, k, re, im);
                               });
             bits *= 2) {
        }
    cplx_vfree(roots);
    mpq_clear(re);
    mpq_clear(im);
    state.counters["bits"] = static_cast<double>(bits);
}

void ArbBefore(benchmark::State& state) {
    Polynomial f;
    Pick(state, f);
    valdrex::Balls roots(f.degree());
    for (auto _ : state)
        arb_fmpz_poly_complex_roots(roots.get(), f.get(), 0, state.range(1) == 53 ? 81 : 131);
}

// The engine from the coefficient texts (reading, factors, isolation, correct rounding), as a
// user's solve runs it; arg 1 is the digits (15 or 30).
void Engine(benchmark::State& state) {
    Polynomial f;
    Pick(state, f);
    const CoefficientTexts texts = TextsOfPolynomial(f.get());
    valdrex::AllRootsResult result;
    for (auto _ : state)
        valdrex::FindAllRoots(texts, static_cast<int>(state.range(1)), result);
}

// CPU time of this thread: a member's time without the waits of a busy machine.
double ThreadMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

// Every member of a family (degrees 2 to 12, its range of exponents) once per iteration, handed
// to `solve`; the counter gives the slowest member's CPU time.
template <typename Solve> void EachFamilyMember(benchmark::State& state, Solve solve) {
    const std::function<void(fmpz_poly_t, long, long)> families[] = {
        [](fmpz_poly_t p, long n, long e) { Mignotte(p, n, e); },
        [](fmpz_poly_t p, long n, long e) { Kameny(p, n, e); },
        [](fmpz_poly_t p, long n, long e) { TightCluster(p, n, e, 1); },
        [](fmpz_poly_t p, long n, long e) { NearMultiple(p, n, e); },
    };
    const std::vector<long> exponents[] = {
        {1, 5, 10, 20, 35, 50}, {1, 5, 10, 20, 35, 50}, {5, 15, 30, 50}, {10, 30, 60, 100}};
    const auto family = static_cast<std::size_t>(state.range(0));
    Polynomial f;
    double worst = 0;
    for (auto _ : state)
        for (long n = 2; n <= 12; ++n)
            for (const long e : exponents[family]) {
                families[family](f.get(), n, e);
                worst = std::max(worst, solve(f));
            }
    state.counters["worst_ms"] = worst;
    state.SetLabel(std::array{"Mignotte", "Kameny", "tight cluster + 1", "near-multiple"}[family]);
}

// The isolation alone, at arg 1 bits.
void FamilyWorst(benchmark::State& state) {
    valdrex::Balls roots(12);
    EachFamilyMember(state, [&](Polynomial& f) {
        SquareFreePart(f.get(), f.get());
        const double start = ThreadMilliseconds();
        valdrex::IsolateRoots(f.get(), state.range(1), roots.get(), nullptr);
        return ThreadMilliseconds() - start;
    });
}

// The whole engine from the texts, at arg 1 digits.
void EngineFamilyWorst(benchmark::State& state) {
    valdrex::AllRootsResult result;
    EachFamilyMember(state, [&](Polynomial& f) {
        const CoefficientTexts texts = TextsOfPolynomial(f.get());
        const double start = ThreadMilliseconds();
        valdrex::FindAllRoots(texts, static_cast<int>(state.range(1)), result);
        return ThreadMilliseconds() - start;
    });
}

} // namespace hard

BENCHMARK(hard::Isolate)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 12, 1), {53, 110}})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(hard::Engine)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 14, 1), {15, 30}})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
// Not the last equation: MPSolve isolates no multiple root, at any bits.
BENCHMARK(hard::MpSolve)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 13, 1), {53, 110}})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
// Up to 20 s a call: one call each.
BENCHMARK(hard::ArbBefore)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 12, 1), {53, 110}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(hard::FamilyWorst)
    ->ArgsProduct({{0, 1, 2, 3}, {53, 110}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(hard::EngineFamilyWorst)
    ->ArgsProduct({{0, 1, 2, 3}, {15, 30}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace
