// Exact forms with machine integers: a rational root as a reduced fraction, the roots of a
// rational quadratic with the square part taken out of the discriminant ("Sqr("), and the exact
// questions of the double path (is m/a_n a root, does this quadratic divide) answered in 128-bit
// integers with overflow checks. An answer is exact or Unknown, never a guess; Unknown sends
// the equation to the big-number path, which writes the same texts.
#include "solvers/all_roots/exact_forms.h"

#include "solvers/all_roots/double_double.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <string_view>

namespace valdrex {
namespace {

// n/d in lowest terms; the common divisor is mostly 1, and dividing costs more than testing.
void Reduce(long& n, long& d) {
    const long g = std::gcd(n, d);
    if (g != 1) {
        n /= g;
        d /= g;
    }
}

// A root's text built in place and then stored at once: appending to a string piece by piece
// costs more than the solving.
class ShortText {
  public:
    void Add(char c) { *end_++ = c; }
    void Add(std::string_view s) { end_ = std::copy(s.begin(), s.end(), end_); }
    void Digits(long n) { end_ = std::to_chars(end_, buf_.data() + buf_.size(), n).ptr; }
    // As NumberToStr writes a whole number: a blank in place of the sign of a non-negative one.
    void Blanked(long n) {
        if (n >= 0)
            Add(' ');
        Digits(n);
    }
    std::size_t size() const { return static_cast<std::size_t>(end_ - buf_.data()); }
    std::string_view view() const { return {buf_.data(), size()}; }

  private:
    std::array<char, 48> buf_; // room for two numbers of 20 characters
    char* end_ = buf_.data();
};

// The exact form is the text without the blank standing for a plus sign.
void SetExact(FoundRoot& root, double re, double im) {
    root.re = re;
    root.im = im;
    root.exact.assign(root.text, root.text[0] == ' ' ? 1 : 0);
}

// The prime p taken out of n: p² into the square part, a single p into the free part. The
// divisor is a constant, so no division instruction is needed.
template <long p> void TakeOut(long& n, SquareSplit& split) {
    while (n % (p * p) == 0) {
        n /= p * p;
        split.k *= p;
    }
    if (n % p == 0) {
        n /= p;
        split.r *= p;
    }
}

// What is left, with no prime factor up to the cube root of the number it came from: 1, p, p²
// or p·q for primes p, q.
void SplitRest(long n, SquareSplit& split) {
    // For n = m² below 2^62 the double square root is m exactly: n's rounding and the root's
    // stay within half a unit of m together.
    const auto root = static_cast<long>(std::sqrt(static_cast<double>(n)));
    if (root * root == n)
        split.k *= root;
    else
        split.r *= n;
}

using Wide = __int128;

// a·b + c into `out`; false on overflow.
bool MultiplyAdd(Wide a, Wide b, Wide c, Wide& out) {
    Wide product = 0;
    return !__builtin_mul_overflow(a, b, &product) && !__builtin_add_overflow(product, c, &out);
}

// x / d for d > 0, to a few units of 2^-106 of the quotient beyond the error of x.
DoubleDouble Divide(DoubleDouble x, double d) {
    const double q = x.hi / d;
    const DoubleDouble p = TwoProduct(q, d);
    return FastTwoSum(q, (((x.hi - p.hi) - p.lo) + x.lo) / d);
}

// n / x, to a few units of 2^-106 of the quotient beyond the error of x.
DoubleDouble DivideInto(double n, DoubleDouble x) {
    const double q = n / x.hi;
    const DoubleDouble p = TwoProduct(q, x.hi);
    return FastTwoSum(q, (((n - p.hi) - p.lo) - q * x.lo) / x.hi);
}

// The decimal texts of the parts of the roots of a quadratic whose discriminant is no square.
struct QuadraticDecimals {
    std::array<PartBuffer, 3> buffers;
    std::string_view plusRe, minusRe; // the real parts of the "+" and "−" roots
    ShortPart im{};                   // the "+" root's imaginary part; zero for real roots
};

// The roots of A·x² + B·x + C with discriminant Δ (not a square when positive) in double-double,
// within 64 units of 2^-106 of their size (√|Δ| by one Newton step is within 4; each sum and
// quotient adds a few): for Δ > 0 the "+" and "−" roots, for Δ < 0 the "+" root's imaginary part
// (the real part −B/2A is a quotient of whole numbers). A, B, C and Δ are exact in doubles.
struct DoubleDoubleRoots {
    DoubleDouble plus, minus;
};
DoubleDoubleRoots QuadraticRoots(double a, double b, double c, double delta) {
    const double d = std::fabs(delta);
    const double s = std::sqrt(d);
    const DoubleDouble square = TwoProduct(s, s);
    const DoubleDouble root = FastTwoSum(s, ((d - square.hi) - square.lo) / (2 * s));
    if (delta < 0)
        return {Divide(root, 2 * a), {}};
    // The root away from −B/2A without cancellation, the other from the product C/A.
    const double sign = b <= 0 ? 1 : -1;
    const DoubleDouble far = DoubleDouble{-b, 0} + DoubleDouble{sign * root.hi, sign * root.lo};
    const DoubleDouble away = Divide(far, 2 * a), other = DivideInto(2 * c, far);
    return sign > 0 ? DoubleDoubleRoots{away, other} : DoubleDoubleRoots{other, away};
}

// The roots' parts rounded where that proves the digits; false where it does not.
bool RoundQuadratic(long a, long b, long c, long delta, int digits, QuadraticDecimals& out) {
    constexpr double kError = 64 * 0x1p-106;
    const auto round = [&](DoubleDouble x, ShortPart& part) {
        return RoundWithin(x, kError * std::fabs(x.hi), digits, part);
    };
    const DoubleDoubleRoots roots =
        QuadraticRoots(static_cast<double>(a), static_cast<double>(b), static_cast<double>(c),
                       static_cast<double>(delta));
    if (delta < 0) {
        out.plusRe = out.minusRe = FractionDecimal(-b, 2 * a, digits, out.buffers[0]);
        return round(roots.plus, out.im);
    }
    ShortPart plus, minus;
    if (!round(roots.plus, plus) || !round(roots.minus, minus))
        return false;
    out.plusRe = PartText(plus, out.buffers[1], PartForm::Decimal);
    out.minusRe = PartText(minus, out.buffers[2], PartForm::Decimal);
    return true; // out.im stays the zero it was made with
}

} // namespace

void SetSmallRational(FoundRoot& root, long n, long d, int decimalDigits) {
    Reduce(n, d);
    ShortText text, exact;
    text.Blanked(n);
    exact.Digits(n);
    if (d != 1) {
        text.Add('/');
        text.Blanked(d);
        exact.Add('/');
        exact.Digits(d);
    }
    root.text.assign(text.view());
    root.exact.assign(exact.view());
    // Both below 2^53: the quotient of the two exact doubles is the nearest double.
    root.re = static_cast<double>(n) / static_cast<double>(d);
    if (decimalDigits > 0) {
        PartBuffer buffer;
        root.reDecimal.assign(FractionDecimal(n, d, decimalDigits, buffer));
        root.imDecimal.assign("0");
    }
}

bool AddSmallQuadratic(long a, long b, long c, int decimalDigits, RootSlots& out) {
    const long delta = b * b - 4 * a * c;
    const long twoA = 2 * a;
    if (delta == 0) {
        FoundRoot& root = out.Next();
        SetSmallRational(root, -b, twoA, decimalDigits);
        root.multiplicity = 2;
        return true;
    }
    const bool negative = delta < 0;
    auto [k, radicand] = SplitSmallSquare(std::labs(delta));
    // Added in the listed order: nothing sorts them afterwards.
    if (!negative && radicand == 1) {
        SetSmallRational(out.Next(), -b - k, twoA, decimalDigits);
        SetSmallRational(out.Next(), -b + k, twoA, decimalDigits);
        return true;
    }
    if (!Within(delta, kExactDouble))
        return false;
    QuadraticDecimals decimals;
    if (decimalDigits > 0 && !RoundQuadratic(a, b, c, delta, decimalDigits, decimals))
        return false;
    const QuadraticValues q =
        SmallQuadraticValues(static_cast<double>(a), static_cast<double>(b), static_cast<double>(c),
                             static_cast<double>(delta));
    long re = -b, reDen = twoA, den = twoA;
    Reduce(re, reDen);
    Reduce(k, den);
    const SmallQuadraticRootParts parts{re, reDen, negative, k, radicand, den};
    // A complex pair lists its upper root first, a real pair its lower one.
    out.Reserve(2);
    FoundRoot& first = out.Next();
    FoundRoot& second = out.Next();
    FoundRoot& plus = negative ? first : second;
    FoundRoot& minus = negative ? second : first;
    std::array<char, QuadraticRootRoom(SmallQuadraticRootParts{})> buffer;
    std::size_t signAt = 0;
    const std::string_view text(
        buffer.data(),
        static_cast<std::size_t>(WriteQuadraticRoot(buffer.data(), parts, signAt) - buffer.data()));
    plus.text.assign(text);
    minus.text.assign(text);
    minus.text[signAt] = '-';
    SetExact(plus, q.v[0][0], q.v[0][1]);
    SetExact(minus, q.v[1][0], q.v[1][1]);
    if (decimalDigits > 0) {
        PartBuffer buffer;
        plus.reDecimal.assign(decimals.plusRe);
        minus.reDecimal.assign(decimals.minusRe);
        plus.imDecimal.assign(PartText(decimals.im, buffer, PartForm::Decimal));
        decimals.im.negative = true;
        minus.imDecimal.assign(PartText(decimals.im, buffer, PartForm::Decimal));
    }
    return true;
}

// Once every factor up to the cube root of what is left is taken out, what is left is 1, p, p²
// or p·q for primes p, q.
SquareSplit SplitSmallSquare(long n) {
    SquareSplit split;
    if (n < 13 * 13 * 13) { // the usual discriminants: the primes below 13 suffice
        TakeOut<2>(n, split);
        TakeOut<3>(n, split);
        TakeOut<5>(n, split);
        TakeOut<7>(n, split);
        TakeOut<11>(n, split);
        SplitRest(n, split);
        return split;
    }
    for (long i = 2; i * i * i <= n; i += i == 2 ? 1 : 2) {
        if (n % i != 0)
            continue;
        n /= i;
        while (n % (i * i) == 0) {
            n /= i * i;
            split.k *= i;
        }
        if (n % i == 0) {
            n /= i;
            split.k *= i;
        } else {
            split.r *= i;
        }
    }
    SplitRest(n, split);
    return split;
}

QuadraticValues SmallQuadraticValues(double a, double b, double c, double delta) {
    // The nearest doubles: the double-double values are far closer than half a unit.
    const DoubleDoubleRoots roots = QuadraticRoots(a, b, c, delta);
    QuadraticValues q;
    if (delta < 0) {
        q.v[0][0] = q.v[1][0] = -b / (2 * a);
        q.v[0][1] = roots.plus.hi;
        q.v[1][1] = -roots.plus.hi;
    } else {
        q.v[0][0] = roots.plus.hi;
        q.v[1][0] = roots.minus.hi;
    }
    return q;
}

bool Within(long v, long limit) {
    return v > -limit && v < limit;
}

MachineQuestions::MachineQuestions(const long* lowestFirst, int degree, int decimalDigits)
    : degree_(degree), decimalDigits_(decimalDigits) {
    for (int k = 0; k <= degree; ++k)
        c_[k] = lowestFirst[k];
}

Answer MachineQuestions::IsRationalRoot(long m, RootSlots& out) {
    const long g = std::gcd(m, c_[degree_]);
    const long num = m / g, den = c_[degree_] / g;
    // In lowest terms a root's numerator divides the constant term, which is not 0.
    if (num == 0 || c_[0] % num != 0)
        return Answer::No;
    // p(num/den)·den^n by Horner's rule: v ← v·num + c_k·den^(n−k).
    Wide value = c_[degree_], power = 1, term = 0;
    for (int k = degree_ - 1; k >= 0; --k)
        if (__builtin_mul_overflow(power, den, &power) ||
            __builtin_mul_overflow(power, c_[k], &term) || !MultiplyAdd(value, num, term, value))
            return Answer::Unknown;
    if (value != 0)
        return Answer::No;
    // Both are below 2^53: m is (a whole number is told apart in doubles only below it), and a
    // larger den would have overflowed den^n, n >= 3, above.
    SetSmallRational(out.Next(), num, den, decimalDigits_);
    return Answer::Yes;
}

Answer MachineQuestions::IsQuadraticFactor(long s, long q, RootSlots& out) {
    const long g = std::gcd(std::gcd(c_[degree_], s), q);
    const long a = c_[degree_] / g, b = -s / g, c = q / g;
    // Long division by the primitive quadratic: each step is exact when it divides.
    std::array<Wide, kMaxDegree + 1> r{};
    for (int k = 0; k <= degree_; ++k)
        r[k] = c_[k];
    for (int k = degree_; k >= 2; --k) {
        if (r[k] % a != 0)
            return Answer::No;
        const Wide step = -(r[k] / a);
        if (!MultiplyAdd(step, b, r[k - 1], r[k - 1]) || !MultiplyAdd(step, c, r[k - 2], r[k - 2]))
            return Answer::Unknown;
    }
    if (r[1] != 0 || r[0] != 0)
        return Answer::No;
    if (!Within(a, kSmallQuadraticLimit) || !Within(b, kSmallQuadraticLimit) ||
        !Within(c, kSmallQuadraticLimit) || !AddSmallQuadratic(a, b, c, 0, out))
        return Answer::Unknown;
    return Answer::Yes;
}

} // namespace valdrex
