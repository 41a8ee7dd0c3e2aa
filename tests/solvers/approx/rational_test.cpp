#include "solver_test_support.h"
#include "solvers/approx/rational.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

namespace valdrex {
namespace {

using namespace testing;

const std::string kOverflow = " ! Error*: 1001. Overflow";

// The polynomial, the outcome, and the polynomial left in its place (both highest power first;
// the latter left out where it is not checked).
struct WorkedExample {
    V highToLow;
    std::string outcome;
    V leftHighToLow;
};

const WorkedExample kWorkedExamples[] = {
    // Roots in search order.
    {{1, -6, 11, -6}, "x1 = 1|x2 = 2|x3 = 3", {}},
    {{2, -3, 1}, "x1 = 1|x2 = 1/ 2", {2}},
    {{6, 5, 1}, "x1 =-1/ 3|x2 =-1/ 2", {}},
    {{4, 0, -1}, "x1 =-1/ 2|x2 = 1/ 2", {}},
    {{1, 0, 0, 0}, "x1 = 0|x2 = 0|x3 = 0", {}},
    // (x - 1)^2 (x + 2): negative roots first, a double root listed twice.
    {{1, 0, -3, 2}, "x1 =-2|x2 = 1|x3 = 1", {}},
    // x^2 (x^2 - 1): the numerators come from the lowest non-zero coefficient.
    {{1, 0, -1, 0, 0}, "x1 = 0|x2 = 0|x3 =-1|x4 = 1", {}},
    // A negative leading coefficient: the candidates' denominators still carry the sign.
    {{-3, 2, 1}, "x1 =-1/ 3|x2 = 1", {}},
    {{2, -4}, "x1 = 2", {}},
    // The irreducible factor is left.
    {{1, -2, 1, -2}, "x1 = 2 {x^2  + 1 }", {1, 0, 1}},
    {{1, 0, 1}, "[There aren't rational roots] {x^2  + 1 }", {1, 0, 1}},
    {{2, 3, -1}, "[There aren't rational roots] {2·x^2 + 3·x - 1 }", {2, 3, -1}},
    {{1, -1, 1}, "[There aren't rational roots] {x^2 -x + 1 }", {1, -1, 1}},
    {{-1, 0, -1}, "[There aren't rational roots] {-x^2  - 1 }", {-1, 0, -1}},
    // (2x - 1)(x^3 - 2): the factor is scaled by the root's denominator.
    {{2, -1, 0, -4, 2}, "x1 = 1/ 2 {2·x^3   - 4 }", {2, 0, 0, -4}},
    // x (x - 3)(-12x^2 + x - 5): a coefficient 1 drops its digits.
    {{-12, 37, -8, 15, 0}, "x1 = 0|x2 = 3 {-12·x^2 +x - 5 }", {-12, 1, -5}},
    // Several rational roots: the factor keeps whole numbers, not the division's dust.
    {{3, 4, 1, 0, 3, 4, 4, 1, 0, 3, 4, 1, 0},
     "x1 = 0|x2 =-1/ 3 {3·x^10 + 3·x^9   + 3·x^6 + 3·x^5 + 3·x^4   + 3·x + 3 }",
     {3, 3, 0, 0, 3, 3, 3, 0, 0, 3, 3}},
    // The dust reaches the constant term too (17.99999999999997 here, after the root 5/3).
    {{-84, 80, 142, -52, -30}, "x1 =-1|x2 = 5/ 3 {-84·x^2 + 24·x + 18 }", {-84, 24, 18}},
    // Constants have no factor; coefficients are read through their integer values.
    {{5}, "[The equation is impossible]", {}},
    {{0}, "[The equation is undetermined]", {}},
    {{0.4, 3}, "[The equation is impossible]", {}},
    // An overflow keeps the roots listed and the last quotient. The first candidate
    // -1/1000 makes 7 * 1000^12 at once.
    {{1000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7},
     "[]" + kOverflow,
     {1000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7}},
    // x (1000x^11 + 7): the root 0 comes first, then the quotient overflows.
    {{1000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0},
     "[] x1 = 0" + kOverflow,
     {1000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7}},
    // Integer values beyond 32 bits, and the magnitude of -2^31.
    {{1, 3e9}, "[]" + kOverflow, {1, 3e9}},
    {{1, -2147483648.0}, "[]" + kOverflow, {1, -2147483648.0}},
    // Coefficients near 2^31 overflow before every integer up to them is walked.
    {{1, 0, 1999999973}, "[]" + kOverflow, {}},
    {{1784742960, 1999999973}, "[]" + kOverflow, {}},
    {{1, 0, 0, 0, -2147483647}, "[]" + kOverflow, {}},
    {{735134400, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 735134400}, "[]" + kOverflow, {}},
    {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 735134400}, "[]" + kOverflow, {}},
    {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     "x1 = 0|x2 = 0|x3 = 0|x4 = 0|x5 = 0|x6 = 0|x7 = 0|x8 = 0|x9 = 0|x10 = 0|x11 = 0|x12 = 0",
     {}},
};

void PrintTo(const WorkedExample& c, std::ostream* out) {
    *out << c.outcome;
}

class RationalRoots : public ::testing::TestWithParam<WorkedExample> {};

TEST_P(RationalRoots, WorkedExample) {
    const auto& [highToLow, outcome, leftHighToLow] = GetParam();
    SolveContext ctx = FromHighest(highToLow);
    SolveRational(ctx);
    EXPECT_EQ(Outcome(ctx), Expected(outcome));
    // An irreducible factor is the whole polynomial left; after a failure only the part of the
    // last quotient is checked.
    const std::size_t n = ctx.factorText.empty() ? leftHighToLow.size() : ctx.a.size();
    const Polynomial left = FromHighest(leftHighToLow).a;
    EXPECT_EQ(V(ctx.a.begin(), ctx.a.begin() + n), V(left.begin(), left.begin() + n));
}

// A failure names the case by its coefficients, the highest power first.
INSTANTIATE_TEST_SUITE_P(Cases, RationalRoots, ::testing::ValuesIn(kWorkedExamples),
                         [](const auto& info) { return "x" + CaseName(info.param.highToLow); });

// A listed root such as " 2" or "-1/ 3" as a value; a fraction must be in lowest terms.
double RootValue(const std::string& text) {
    const auto slash = text.find('/');
    const double num = TextToNumber(text.substr(0, slash));
    const double den = slash == std::string::npos ? 1 : TextToNumber(text.substr(slash + 1));
    EXPECT_TRUE(den > 0 && std::gcd(std::llround(num), std::llround(den)) == 1) << text;
    return num / den;
}

bool IsSquare(long long v) {
    const long long s = std::llround(std::sqrt(static_cast<double>(std::max(v, 0LL))));
    return v >= 0 && s * s == v;
}

// The remaining factor must be a multiple of the irreducible quadratic. Ruffini's terms are
// fractions, so the quotient may miss whole numbers in the last bits; the solver reads it
// through integer values, and so does this check.
bool IsMultipleOf(const Polynomial& a, const std::vector<long long>& q) {
    bool multiple = a[2] != 0;
    for (int i = 0; i < kCoefficientCount; ++i)
        multiple &= i < 3 ? std::nearbyint(a[i]) * q[2] == q[i] * std::nearbyint(a[2]) : a[i] == 0;
    return multiple;
}

// Drawn: maybe an irreducible quadratic, and linear factors whose small coefficients are drawn
// more often, so that many products stay within 32 bits.
TEST(SolveRationalSweep, ListsExactlyTheRationalRootsOrFailsCleanly) {
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> degreeOf(0, 12), wide(-12, 12), narrow(-3, 3);
    std::bernoulli_distribution withQuadratic(0.75), wideFactor(0.3);
    int solved = 0, failed = 0, failedAfterRoots = 0;
    for (int run = 0; run < 5000; ++run) {
        std::vector<long long> coefficients{1}, quadratic; // lowest power first
        V roots;
        if (withQuadratic(rng)) {
            auto& q = quadratic;
            do
                q = {wide(rng), wide(rng), wide(rng)};
            while (q[2] == 0 || q[0] == 0 || IsSquare(q[1] * q[1] - 4 * q[2] * q[0]));
            coefficients = q;
        }
        const int drawn = degreeOf(rng);
        const int linear = quadratic.empty() ? std::max(drawn, 1) : std::min(drawn, 10);
        for (int i = 0; i < linear; ++i) {
            auto& dist = wideFactor(rng) ? wide : narrow;
            const long long p = dist(rng);
            long long q = 0;
            while (q == 0)
                q = dist(rng);
            coefficients = Multiply<long long>(coefficients, {-p, q});
            roots.push_back(static_cast<double>(p) / q);
        }
        SolveContext ctx = MakeContext(V(coefficients.begin(), coefficients.end()));
        SolveRational(ctx);
        SCOPED_TRACE(::testing::Message() << "run " << run << " " << Outcome(ctx));
        V listed;
        for (std::size_t k = 1; k <= ctx.lines.size(); ++k)
            listed.push_back(RootValue(ctx.SolText[k]));
        std::sort(listed.begin(), listed.end());
        std::sort(roots.begin(), roots.end());
        if (ctx.errors.empty()) {
            ++solved;
            ASSERT_EQ(listed, roots);
            const bool none = !quadratic.empty() && roots.empty();
            EXPECT_EQ(ctx.status, none ? "There aren't rational roots" : "Solutions found");
            EXPECT_EQ(ctx.factorText.empty(), quadratic.empty());
            EXPECT_TRUE(quadratic.empty() || IsMultipleOf(ctx.a, quadratic));
        } else {
            ++failed;
            failedAfterRoots += listed.empty() ? 0 : 1;
            ASSERT_EQ(ctx.errors.size(), 1u);
            EXPECT_EQ((Texts{ctx.errors[0].title, ctx.status, ctx.factorText}),
                      (Texts{"Error", "", ""}));
            ASSERT_TRUE(std::includes(roots.begin(), roots.end(), listed.begin(), listed.end()));
        }
    }
    // Both outcomes must be well represented for the sweep to mean anything. Failures are
    // common at high degree: the first candidates, -1/|Lead| and the like, already overflow.
    EXPECT_GT(solved, 1000);
    EXPECT_GT(failed, 500);
    EXPECT_GT(failedAfterRoots, 100);
}

TEST(Divisors, MatchTrialDivision) {
    for (int n = 1; n <= 2000; ++n) {
        std::vector<int> expected;
        for (int d = 1; d <= n; ++d)
            if (n % d == 0)
                expected.push_back(d);
        ASSERT_EQ(Divisors(n), expected) << n;
    }
    // 2^31 - 1 is prime, 1784742960 = 2^4·3·5·7·11·13·17·19·23, 2^30; 46337^2 is a prime
    // square, whose trial must reach the root itself.
    const std::pair<int, std::size_t> large[] = {
        {2147483647, 2}, {1784742960, 1280}, {735134400, 1344}, {1073741824, 31}, {2147117569, 3}};
    for (const auto& [n, count] : large) {
        const std::vector<int> d = Divisors(n);
        EXPECT_EQ(d.size(), count) << n;
        EXPECT_TRUE(std::is_sorted(d.begin(), d.end()) && d.front() == 1 && d.back() == n) << n;
        EXPECT_TRUE(std::all_of(d.begin(), d.end(), [&](int x) { return n % x == 0; })) << n;
    }
}

} // namespace
} // namespace valdrex
