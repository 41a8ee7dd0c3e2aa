#include "solver_test_support.h"
#include "solvers/exact/exact_solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace valdrex {
namespace {

using Complex = std::complex<double>;
using namespace testing;

// How far a printed root may lie from a true root of multiplicity m, relative to
// max(1, |root|).
// m = 1: the text is the single-precision value with 7 significant digits, off by at most half a
// unit in the 7th digit (5e-7 of the part) plus the single rounding (6e-8); a pair has two such
// parts, so √2·5.6e-7 < 8e-7, and 1e-6 leaves room for the double-precision arithmetic.
// m >= 2: a root of multiplicity m moves by δ^(1/m) under a relative rounding δ; the quartic's
// roots are square roots of the resolvent's, whose own double roots are found only to √δ, so
// they may carry δ^(1/(2m)). With δ = eps and a factor 8 for the growth inside the formulas.
double Tolerance(int multiplicity) {
    const double eps = std::numeric_limits<double>::epsilon();
    return multiplicity == 1 ? 1e-6 : 8 * std::pow(eps, 1.0 / (2 * multiplicity));
}

struct Problem {
    std::vector<double> lowToHigh;
    std::vector<Complex> roots;
    int Multiplicity(Complex r) const { return int(std::count(roots.begin(), roots.end(), r)); }
};

// Integer roots in [-9, 9] and pairs of x² + bx + c with b² < 4c, repeats allowed, times a
// leading coefficient of ±1 to ±3.
Problem RandomProblem(std::mt19937& rng, int degree) {
    std::uniform_int_distribution<int> root(-9, 9), b(-4, 4), c(1, 9), kind(0, 2), lead(-3, 2);
    Problem p{{1}, {}};
    while (int(p.roots.size()) < degree) {
        if (degree - int(p.roots.size()) >= 2 && kind(rng) == 0) {
            int bb, cc;
            do {
                bb = b(rng);
                cc = c(rng);
            } while (bb * bb >= 4 * cc);
            p.lowToHigh = Multiply<double>(p.lowToHigh, {double(cc), double(bb), 1});
            const double im = std::sqrt(4.0 * cc - bb * bb) / 2;
            p.roots.insert(p.roots.end(), {{-bb / 2.0, im}, {-bb / 2.0, -im}});
        } else {
            const int r = root(rng);
            p.lowToHigh = Multiply<double>(p.lowToHigh, {double(-r), 1});
            p.roots.push_back(r);
        }
    }
    const int l = lead(rng);
    for (double& coefficient : p.lowToHigh)
        coefficient *= l >= 0 ? l + 1 : l;
    return p;
}

// Every printed root lies within its tolerance of a true root, and every true root is met as
// often as its multiplicity.
void ExpectRootsMatch(const Problem& p, const SolveContext& ctx, const std::string& where) {
    std::vector<int> met(p.roots.size(), 0);
    for (std::size_t k = 1; k <= p.roots.size(); ++k) {
        const Complex printed = ParseRootText(ctx.SolText[k]);
        const Complex truth =
            *std::min_element(p.roots.begin(), p.roots.end(), [&](auto x, auto y) {
                return std::abs(printed - x) < std::abs(printed - y);
            });
        EXPECT_LE(std::abs(printed - truth),
                  Tolerance(p.Multiplicity(truth)) * std::max(1.0, std::abs(truth)))
            << "root " << k << " of " << where;
        ++met[std::find(p.roots.begin(), p.roots.end(), truth) - p.roots.begin()];
    }
    for (std::size_t j = 0; j < p.roots.size(); ++j)
        EXPECT_TRUE(met[j] == 0 || met[j] == p.Multiplicity(p.roots[j])) << where;
}

TEST(RandomRootsSweep, CubicsAndQuarticsSolveToTheirRoots) {
    for (const auto& [degree, seed] : {std::pair{3, 20240601u}, {4, 20240602u}}) {
        std::mt19937 rng(seed);
        for (int n = 0; n < 10000; ++n) {
            const Problem p = RandomProblem(rng, degree);
            for (bool symbolic : {false, true}) {
                SolveContext ctx = MakeContext(p.lowToHigh, symbolic);
                SolveExact(ctx);
                const std::string where =
                    ::testing::PrintToString(p.lowToHigh) + " " + Outcome(ctx);
                ASSERT_EQ(ctx.errors.size(), 0u) << where;
                ASSERT_EQ(ctx.lines.size(), std::size_t(degree)) << where;
                EXPECT_EQ(ctx.status, "Solutions found");
                // Symbolic texts are not numbers; the numeric form carries the values.
                if (!symbolic)
                    ExpectRootsMatch(p, ctx, where);
            }
        }
    }
}

} // namespace
} // namespace valdrex
