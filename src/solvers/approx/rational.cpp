#include "solvers/approx/rational.h"

#include "core/checked_math.h"
#include "core/equation_text.h"
#include "core/failure.h"
#include "core/number_text.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstddef>
#include <optional>
#include <vector>

namespace valdrex {
namespace {

constexpr char kNoRationalRoots[] = "There aren't rational roots";
constexpr char kSolutionsFound[] = "Solutions found";

using IntegerValues = std::array<int, kCoefficientCount>;

// The search reads every coefficient through its 32-bit integer value.
IntegerValues ReadIntegerValues(const Polynomial& a, int degree) {
    IntegerValues c{};
    for (int i = 0; i <= degree; ++i)
        c[i] = RoundToInt32(a[i]);
    return c;
}

// A candidate num/den in lowest terms; num is never negative and den carries the sign.
struct Candidate {
    int num;
    int den;
};

// den^J * P(num/den), summed from the constant term up and held in 32 bits after every term,
// so a candidate far from the coefficients' scale fails with Overflow.
bool IsRoot(const IntegerValues& c, int degree, const Candidate& x) {
    int sum = 0;
    for (int i = 0; i <= degree; ++i) {
        const double term = Finite(c[i] * CheckedPow(x.num, i) * CheckedPow(x.den, degree - i));
        sum = RoundToInt32(sum + term);
    }
    return sum == 0;
}

// The first root among the candidates p/d, d a divisor of Lead (negative ones first, largest
// first, then positive ones from 1), p = 0 and then the divisors of Low in ascending order.
// Visiting only divisors gives the same order as walking every integer, without the walk.
std::optional<Candidate> FindRoot(const IntegerValues& c, int degree, int lead, int low) {
    const std::vector<int> leadDivisors = Divisors(CheckedAbs(lead));
    const std::vector<int> lowDivisors = low == 0 ? std::vector<int>{} : Divisors(CheckedAbs(low));
    const auto tryDenominator = [&](int d) -> std::optional<Candidate> {
        if (c[0] == 0)
            return Candidate{0, 1};
        for (int p : lowDivisors) {
            const int g = static_cast<int>(Gcd(p, d));
            const Candidate x{p / g, d / g};
            if (IsRoot(c, degree, x))
                return x;
        }
        return std::nullopt;
    };
    for (std::size_t k = leadDivisors.size(); k-- > 0;)
        if (const auto root = tryDenominator(-leadDivisors[k]))
            return root;
    for (int d : leadDivisors)
        if (const auto root = tryDenominator(d))
            return root;
    return std::nullopt;
}

// The root as listed: the numerator carries the sign, the denominator is positive.
struct Fraction {
    int numerator;
    int denominator;
};

Fraction Listed(const Candidate& x) {
    return x.den < 0 ? Fraction{-x.num, -x.den} : Fraction{x.num, x.den};
}

std::string RootText(const Fraction& r) {
    std::string text = NumberToStr(static_cast<double>(r.numerator));
    if (r.denominator != 1)
        text += "/" + NumberToStr(static_cast<double>(r.denominator));
    return text;
}

// Ruffini's division by (x - r): q(K-1) is the sum of a(i) r^(i-K), each term reduced by the
// common factor of a(i) and den^(i-K) so that the integer powers stay as small as they can.
Polynomial Divide(const Polynomial& a, int degree, const Fraction& r) {
    Polynomial q{};
    for (int k = 1; k <= degree; ++k) {
        double sum = 0;
        for (int i = k; i <= degree; ++i) {
            const int numPower = CheckedIntPower(r.numerator, i - k);
            const int denPower = CheckedIntPower(r.denominator, i - k);
            const double h = Gcd(RoundToInt32(a[i]), denPower);
            const double term = Finite(numPower * (a[i] / h)) / (denPower / h);
            sum = Finite(sum + term);
        }
        q[k - 1] = sum;
    }
    return q;
}

// Deflating a whole-number polynomial by the factor of a rational root leaves whole numbers,
// so a coefficient within 1e-6 of one is rounding dust of the fractions in Divide. This departs
// from the literal arithmetic only there: the factor kept for Put reads as whole numbers again.
void RoundWholeNumbers(Polynomial& a, int degree) {
    constexpr double kDust = 1e-6;
    for (int i = 0; i <= degree; ++i)
        if (const double whole = std::nearbyint(a[i]); std::fabs(a[i] - whole) <= kDust)
            a[i] = whole + 0.0; // + 0.0: no negative zero
}

// The highest power from 1 up whose integer value is non-zero; 0 for a constant.
int Degree(const IntegerValues& c) {
    for (int i = kCoefficientCount - 1; i >= 1; --i)
        if (c[i] != 0)
            return i;
    return 0;
}

void Run(SolveContext& ctx) {
    std::string status = kNoRationalRoots;
    IntegerValues c = ReadIntegerValues(ctx.a, kCoefficientCount - 1);
    const int n = Degree(c);
    if (n == 0) {
        ctx.status = c[0] == 0 ? "The equation is undetermined" : "The equation is impossible";
        return;
    }
    int lead = c[n];
    int low = 0;
    for (int i = 0; i <= n && low == 0; ++i)
        low = c[i];
    for (int j = n; j >= 1; --j) {
        const std::optional<Candidate> root = FindRoot(c, j, lead, low);
        if (!root) {
            for (int i = j + 1; i < kCoefficientCount; ++i)
                ctx.a[i] = 0;
            RoundWholeNumbers(ctx.a, j);
            ctx.factorText = FactorText(ctx.a, j);
            ctx.status = status;
            return;
        }
        status = kSolutionsFound;
        const Fraction r = Listed(*root);
        const Polynomial q = Divide(ctx.a, j, r);
        ctx.AddRoot(n - j + 1, RootText(r));
        // The quotient takes the low places; a(j) and above keep their old values.
        for (int i = 0; i < j; ++i)
            ctx.a[i] = q[i];
        c = ReadIntegerValues(ctx.a, j - 1);
        lead = c[j - 1];
        low = c[0];
    }
    ctx.status = status;
}

} // namespace

void SolveRational(SolveContext& ctx) {
    try {
        Run(ctx);
    } catch (const RuntimeFailure& failure) {
        ctx.errors.push_back(RationalErrorBox(failure));
    }
}

std::vector<int> Divisors(int n) {
    std::vector<int> divisors{1};
    long long rest = n;
    const auto takeFactor = [&](long long prime) {
        const std::size_t count = divisors.size();
        long long power = 1;
        while (rest % prime == 0) {
            rest /= prime;
            power *= prime;
            for (std::size_t i = 0; i < count; ++i)
                divisors.push_back(static_cast<int>(divisors[i] * power));
        }
    };
    takeFactor(2);
    for (long long candidate = 3; candidate * candidate <= rest; candidate += 2)
        takeFactor(candidate);
    if (rest > 1)
        takeFactor(rest);
    std::sort(divisors.begin(), divisors.end());
    return divisors;
}

namespace {

std::string Term(int c, int power, bool leading) {
    if (c == 0)
        return "";
    std::string term = c < 0 ? "-" : (leading ? "" : "+");
    const int magnitude = CheckedAbs(c);
    if (magnitude == 1) {
        if (power == 0)
            term += " 1";
    } else {
        std::string digits = NumberToStr(static_cast<double>(magnitude));
        if (leading)
            digits.erase(0, 1);
        term += digits;
        if (power > 0)
            term += kMiddleDot;
    }
    if (power == 1)
        term += "x";
    else if (power >= 2)
        term += "x^" + std::to_string(power);
    return term;
}

} // namespace

std::string FactorText(const Polynomial& a, int degree) {
    std::string text;
    for (int i = degree; i >= 0; --i)
        text += Term(RoundToInt32(a[i]), i, i == degree) + " ";
    return text;
}

int CheckedAbs(int v) {
    if (v == INT_MIN)
        FailOverflow();
    return v < 0 ? -v : v;
}

int CheckedIntPower(int base, int exponent) {
    long long product = 1;
    for (int i = 0; i < exponent; ++i) {
        product *= base;
        if (product < INT_MIN || product > INT_MAX)
            FailOverflow();
    }
    return static_cast<int>(product);
}

} // namespace valdrex
