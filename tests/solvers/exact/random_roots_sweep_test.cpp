#include "solver_test_support.h"
#include "solvers/exact/exact_solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace valdrex {
namespace {

using Complex = std::complex<double>;
using testing::MakeContext;
using testing::ParseRootText;

constexpr int kProblemsPerDegree = 10000;

// How far a printed root may lie from a true root of multiplicity m, relative to
// max(1, |root|).
// m = 1: the text is the single-precision value with 7 significant digits, off by at most half a
// unit in the 7th digit (5e-7 of the part) plus the single rounding (6e-8); a pair has two such
// parts, so √2·5.6e-7 < 8e-7, and 1e-6 leaves room for the double-precision arithmetic.
// m >= 2: a root of multiplicity m moves by δ^(1/m) under a relative rounding δ; the quartic's
// roots are square roots of the resolvent's, whose own double roots are found only to √δ, so
// they may carry δ^(1/(2m)). With δ = eps and a factor 8 for the growth inside the formulas.
double Tolerance(int multiplicity) {
    if (multiplicity == 1)
        return 1e-6;
    return 8 * std::pow(std::numeric_limits<double>::epsilon(), 1.0 / (2 * multiplicity));
}

struct Problem {
    std::vector<double> lowToHigh;
    std::vector<Complex> roots;
};

void MultiplyBy(std::vector<double>& poly, const std::vector<double>& factor) {
    std::vector<double> product(poly.size() + factor.size() - 1, 0.0);
    for (std::size_t i = 0; i < poly.size(); ++i)
        for (std::size_t j = 0; j < factor.size(); ++j)
            product[i + j] += poly[i] * factor[j];
    poly = product;
}

// Integer roots in [-9, 9] and pairs of x² + bx + c with b² < 4c, repeats allowed, times a
// leading coefficient of ±1 to ±3.
Problem RandomProblem(std::mt19937& rng, int degree) {
    std::uniform_int_distribution<int> root(-9, 9), b(-4, 4), c(1, 9), kind(0, 2), lead(-3, 2);
    Problem problem{{1}, {}};
    while (static_cast<int>(problem.roots.size()) < degree) {
        const bool pairFits = degree - static_cast<int>(problem.roots.size()) >= 2;
        if (pairFits && kind(rng) == 0) {
            int bb, cc;
            do {
                bb = b(rng);
                cc = c(rng);
            } while (bb * bb >= 4 * cc);
            MultiplyBy(problem.lowToHigh, {double(cc), double(bb), 1});
            const double im = std::sqrt(4.0 * cc - bb * bb) / 2;
            problem.roots.push_back({-bb / 2.0, im});
            problem.roots.push_back({-bb / 2.0, -im});
        } else {
            const int r = root(rng);
            MultiplyBy(problem.lowToHigh, {double(-r), 1});
            problem.roots.push_back(r);
        }
    }
    const int l = lead(rng);
    for (double& coefficient : problem.lowToHigh)
        coefficient *= l >= 0 ? l + 1 : l;
    return problem;
}

std::string Describe(const Problem& problem, const SolveContext& ctx) {
    std::string text = ::testing::PrintToString(problem.lowToHigh) + " ->";
    for (const auto& line : ctx.lines)
        text += " [" + line + "]";
    return text;
}

// Every printed root lies within its tolerance of a true root, and every true root is met as
// often as its multiplicity.
void ExpectRootsMatch(const Problem& problem, const SolveContext& ctx) {
    std::vector<int> met(problem.roots.size(), 0);
    for (std::size_t k = 1; k <= problem.roots.size(); ++k) {
        const Complex printed = ParseRootText(ctx.SolText[k]);
        std::size_t nearest = 0;
        for (std::size_t j = 1; j < problem.roots.size(); ++j)
            if (std::abs(printed - problem.roots[j]) < std::abs(printed - problem.roots[nearest]))
                nearest = j;
        const Complex truth = problem.roots[nearest];
        const int multiplicity =
            static_cast<int>(std::count(problem.roots.begin(), problem.roots.end(), truth));
        const double allowed = Tolerance(multiplicity) * std::max(1.0, std::abs(truth));
        EXPECT_LE(std::abs(printed - truth), allowed)
            << "root " << k << " of " << Describe(problem, ctx);
        const auto first = std::find(problem.roots.begin(), problem.roots.end(), truth);
        ++met[first - problem.roots.begin()];
    }
    for (std::size_t j = 0; j < problem.roots.size(); ++j) {
        if (met[j] == 0)
            continue;
        const int multiplicity = static_cast<int>(
            std::count(problem.roots.begin(), problem.roots.end(), problem.roots[j]));
        EXPECT_EQ(met[j], multiplicity) << Describe(problem, ctx);
    }
}

void Sweep(int degree, unsigned seed) {
    std::mt19937 rng(seed);
    for (int n = 0; n < kProblemsPerDegree; ++n) {
        const Problem problem = RandomProblem(rng, degree);
        for (bool symbolic : {false, true}) {
            auto ctx = MakeContext(problem.lowToHigh, symbolic);
            SolveExact(ctx);
            ASSERT_TRUE(ctx.errors.empty()) << ctx.errors[0].text << " " << Describe(problem, ctx);
            ASSERT_EQ(ctx.lines.size(), static_cast<std::size_t>(degree)) << Describe(problem, ctx);
            EXPECT_EQ(ctx.status, "Solutions found");
            // Symbolic texts are not numbers; the numeric form carries the values.
            if (!symbolic)
                ExpectRootsMatch(problem, ctx);
        }
    }
}

TEST(RandomRootsSweep, CubicsSolveToTheirRoots) {
    Sweep(3, 20240601);
}

TEST(RandomRootsSweep, QuarticsSolveToTheirRoots) {
    Sweep(4, 20240602);
}

} // namespace
} // namespace valdrex
