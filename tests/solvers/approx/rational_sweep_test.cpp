#include "core/number_text.h"
#include "polynomial_builder.h"
#include "solvers/approx/rational.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <vector>

namespace valdrex {
namespace {

struct Fraction {
    long long num;
    long long den; // positive, in lowest terms with num

    auto operator<=>(const Fraction&) const = default;
};

Fraction Reduced(long long num, long long den) {
    const long long g = std::gcd(num, den);
    if (den < 0)
        return {-num / g, -den / g};
    return {num / g, den / g};
}

// A listed root text such as " 2", "-1/ 3".
Fraction Parse(const std::string& text) {
    const auto slash = text.find('/');
    const auto num = static_cast<long long>(TextToNumber(text.substr(0, slash)));
    if (slash == std::string::npos)
        return {num, 1};
    return {num, static_cast<long long>(TextToNumber(text.substr(slash + 1)))};
}

// Coefficients lowest power first, exact in 64 bits for the sizes drawn here.
using Exact = std::vector<long long>;

Exact Multiply(const Exact& a, const Exact& b) {
    Exact r(a.size() + b.size() - 1, 0);
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < b.size(); ++j)
            r[i + j] += a[i] * b[j];
    return r;
}

bool IsSquare(long long v) {
    if (v < 0)
        return false;
    const auto s = static_cast<long long>(std::llround(std::sqrt(static_cast<double>(v))));
    return s * s == v;
}

struct Drawn {
    Exact coefficients;
    std::vector<Fraction> roots;
    Exact quadratic; // empty when every root is rational
};

// Small factors are drawn more often, so that many products stay within 32 bits.
Drawn Draw(std::mt19937& rng) {
    std::uniform_int_distribution<int> degreeOf(0, 12);
    std::uniform_int_distribution<int> wide(-12, 12);
    std::uniform_int_distribution<int> narrow(-3, 3);
    std::bernoulli_distribution wideFactor(0.3);
    Drawn d;
    d.coefficients = {1};
    const bool withQuadratic = std::bernoulli_distribution(0.75)(rng);
    if (withQuadratic) {
        Exact q;
        do {
            q = {wide(rng), wide(rng), wide(rng)};
        } while (q[2] == 0 || q[0] == 0 || IsSquare(q[1] * q[1] - 4 * q[2] * q[0]));
        d.quadratic = q;
        d.coefficients = q;
    }
    const int drawn = degreeOf(rng);
    const int linear = withQuadratic ? std::min(drawn, 10) : std::max(drawn, 1);
    for (int i = 0; i < linear; ++i) {
        auto& dist = wideFactor(rng) ? wide : narrow;
        long long p = dist(rng);
        long long q = 0;
        while (q == 0)
            q = dist(rng);
        d.coefficients = Multiply(d.coefficients, {-p, q});
        d.roots.push_back(Reduced(p, q));
    }
    return d;
}

// The remaining factor must be a multiple of the irreducible quadratic. Ruffini's terms are
// fractions, so the quotient may miss whole numbers in the last bits; the solver reads it
// through integer values, and so does this check.
bool IsMultipleOf(const Polynomial& a, const Exact& q) {
    for (int i = 3; i < kCoefficientCount; ++i)
        if (a[i] != 0)
            return false;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (std::nearbyint(a[i]) * q[j] != std::nearbyint(a[j]) * q[i])
                return false;
    return a[2] != 0;
}

TEST(SolveRationalSweep, ListsExactlyTheRationalRootsOrFailsCleanly) {
    std::mt19937 rng(20240611);
    int solved = 0;
    int failed = 0;
    int failedAfterRoots = 0;
    for (int run = 0; run < 5000; ++run) {
        const Drawn d = Draw(rng);
        SolveContext ctx;
        for (std::size_t i = 0; i < d.coefficients.size(); ++i)
            ctx.a[i] = static_cast<double>(d.coefficients[i]);
        SolveRational(ctx);

        std::vector<Fraction> listed;
        for (std::size_t k = 1; k <= ctx.lines.size(); ++k)
            listed.push_back(Parse(ctx.SolText[k]));
        std::vector<Fraction> expected = d.roots;
        std::sort(listed.begin(), listed.end());
        std::sort(expected.begin(), expected.end());
        SCOPED_TRACE(::testing::Message() << "run " << run);

        if (ctx.errors.empty()) {
            ++solved;
            ASSERT_EQ(listed, expected);
            if (d.quadratic.empty()) {
                EXPECT_EQ(ctx.factorText, "");
                EXPECT_EQ(ctx.status, "Solutions found");
            } else {
                EXPECT_NE(ctx.factorText, "");
                EXPECT_TRUE(IsMultipleOf(ctx.a, d.quadratic)) << ctx.factorText;
                EXPECT_EQ(ctx.status,
                          expected.empty() ? "There aren't rational roots" : "Solutions found");
            }
        } else {
            ++failed;
            failedAfterRoots += listed.empty() ? 0 : 1;
            ASSERT_EQ(ctx.errors.size(), 1u);
            EXPECT_EQ(ctx.errors[0].title, "Error");
            EXPECT_EQ(ctx.status, "");
            EXPECT_EQ(ctx.factorText, "");
            ASSERT_TRUE(
                std::includes(expected.begin(), expected.end(), listed.begin(), listed.end()));
        }
    }
    // Both outcomes must be well represented for the sweep to mean anything. Failures are
    // common at high degree: the first candidates, -1/|Lead| and the like, already overflow.
    EXPECT_GT(solved, 1000);
    EXPECT_GT(failed, 500);
    EXPECT_GT(failedAfterRoots, 100);
}

} // namespace
} // namespace valdrex
