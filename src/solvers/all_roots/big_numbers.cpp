// The big-number path: the coefficient texts read exactly into a primitive integer polynomial
// (FLINT), the root 0 taken out, degree 1 and 2 written exactly, then the double path on the
// whole polynomial, and failing that the factorisation over the integers: exact multiplicities,
// exact roots of linear and quadratic factors, the other factors' roots through the double path
// or, where that cannot prove its discs (clusters, more than 15 digits, huge coefficients),
// Arb's isolation refined until every printed digit is proved.
#include "solvers/all_roots/big_numbers.h"

#include "core/equation_text.h"
#include "solvers/all_roots/certification.h"
#include "solvers/all_roots/exact_forms.h"
#include "solvers/all_roots/flint_values.h"
#include "solvers/all_roots/printing.h"

#include <acb.h>
#include <arb.h>
#include <arb_fmpz_poly.h>
#include <flint/fmpz_factor.h>
#include <flint/fmpz_poly_factor.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>

namespace valdrex {
namespace {

// ---- Reading

// ±digits·10^exponent as a rational.
void DecimalValue(const DecimalNumber& d, fmpq_t value) {
    if (d.digits.empty()) {
        fmpq_zero(value);
        return;
    }
    fmpz_set_str(fmpq_numref(value), d.digits.c_str(), 10);
    if (d.negative)
        fmpz_neg(fmpq_numref(value), fmpq_numref(value));
    fmpz_set_ui(fmpq_denref(value), 10);
    fmpz_pow_ui(fmpq_denref(value), fmpq_denref(value),
                static_cast<unsigned long>(d.exponent < 0 ? -d.exponent : d.exponent));
    if (d.exponent > 0) {
        fmpz_mul(fmpq_numref(value), fmpq_numref(value), fmpq_denref(value));
        fmpz_one(fmpq_denref(value));
    }
    fmpq_canonicalise(value);
}

struct ExactReadResult {
    AllRootsResult::Status status = AllRootsResult::Status::Solved;
    int power = -1; // the box at fault
};

// Grids of plain integers, the usual case, go straight into the polynomial.
bool ReadPlainIntegers(const CoefficientTexts& texts, IntegerPolynomial& out) {
    std::array<long, kCoefficientCount> values{};
    for (int i = 0; i < kCoefficientCount; ++i)
        if (!texts[i].empty() && !ReadPlainInteger(texts[i], values[i]))
            return false;
    int degree = kCoefficientCount - 1;
    while (degree > 0 && values[degree] == 0)
        --degree;
    fmpz_poly_fit_length(out.get(), degree + 1);
    for (int i = 0; i <= degree; ++i)
        fmpz_set_si(out.get()->coeffs + i, values[i]);
    _fmpz_poly_set_length(out.get(), degree + 1);
    _fmpz_poly_normalise(out.get());
    return true;
}

// The equation of the coefficient texts as a primitive integer polynomial with a positive
// leading coefficient (the zero polynomial when every coefficient is zero).
ExactReadResult ReadExactPolynomial(const CoefficientTexts& texts, IntegerPolynomial& out) {
    if (ReadPlainIntegers(texts, out)) {
        fmpz_poly_primitive_part(out.get(), out.get());
        return {};
    }
    std::array<Rational, kCoefficientCount> values;
    Integer scale(1);
    for (int i = 0; i < kCoefficientCount; ++i) {
        switch (ReadExactNumber(texts[i], values[i].get())) {
        case ExactReading::Read:
            break;
        case ExactReading::ZeroDenominator:
            return {AllRootsResult::Status::ZeroDenominator, i};
        case ExactReading::TooLong:
            return {AllRootsResult::Status::TooLong, i};
        }
        if (!fmpz_is_one(fmpq_denref(values[i].get())))
            fmpz_lcm(scale.get(), scale.get(), fmpq_denref(values[i].get()));
    }
    fmpz_poly_zero(out.get());
    Integer c;
    for (int i = 0; i < kCoefficientCount; ++i) {
        const fmpq* v = values[i].get();
        fmpz_divexact(c.get(), scale.get(), fmpq_denref(v));
        fmpz_mul(c.get(), c.get(), fmpq_numref(v));
        fmpz_poly_set_coeff_fmpz(out.get(), i, c.get());
    }
    fmpz_poly_primitive_part(out.get(), out.get());
    return {};
}

// ---- Exact forms in big integers

constexpr long kPrecision = 128;

// The double nearest x, held to the finite range: a root beyond it is reported as the largest
// double of its sign rather than as an infinity.
double NearestDouble(const arf_t x) {
    constexpr double kMax = std::numeric_limits<double>::max();
    const double d = arf_get_d(x, ARF_RND_NEAR);
    return d > kMax ? kMax : d < -kMax ? -kMax : d;
}

std::string IntegerDigits(const fmpz_t n) {
    if (fmpz_fits_si(n)) {
        char buf[24];
        return std::string(buf, std::to_chars(buf, buf + sizeof buf, fmpz_get_si(n)).ptr);
    }
    const std::unique_ptr<char, void (*)(void*)> s(fmpz_get_str(nullptr, 10, n), flint_free);
    return s.get();
}

// As NumberToStr writes a whole number: a blank in place of the sign of a non-negative one.
std::string BlankedInteger(const fmpz_t n) {
    return fmpz_sgn(n) < 0 ? IntegerDigits(n) : " " + IntegerDigits(n);
}

double Nearest(const arb_t x) {
    return NearestDouble(arb_midref(x));
}

// n = k²·r with r free of squares (n > 0). Beyond 62 bits only primes below 32768 are divided
// out: a full factorisation can take without bound, and FLINT's quadratic sieve writes a scratch
// file into the current folder (a crash where that is read-only, a race between threads). A
// cofactor left over is taken whole, or its root when it is a square; the roots stay exact, and
// only a square of a larger prime can stay under the root.
void SplitSquare(const fmpz_t n, fmpz_t k, fmpz_t r) {
    if (fmpz_bits(n) < 62) {
        long square = 1, free = 1;
        SplitSmallSquare(fmpz_get_si(n), square, free);
        fmpz_set_si(k, square);
        fmpz_set_si(r, free);
        return;
    }
    fmpz_factor_t f;
    fmpz_factor_init(f);
    const bool whole = fmpz_factor_trial(f, n, 3512) == 1;
    fmpz_one(k);
    fmpz_one(r);
    Integer p;
    if (!whole && fmpz_is_square(f->p + f->num - 1)) {
        fmpz_sqrt(p.get(), f->p + f->num - 1);
        fmpz_set(f->p + f->num - 1, p.get());
        f->exp[f->num - 1] *= 2;
    }
    for (long i = 0; i < f->num; ++i) {
        fmpz_pow_ui(p.get(), f->p + i, f->exp[i] / 2);
        fmpz_mul(k, k, p.get());
        if (f->exp[i] % 2 == 1)
            fmpz_mul(r, r, f->p + i);
    }
    fmpz_factor_clear(f);
}

QuadraticValues BigQuadraticValues(const fmpz_t a, const fmpz_t b, const fmpz_t delta) {
    arb_t s, re, t;
    arb_init(s);
    arb_init(re);
    arb_init(t);
    arb_set_fmpz(s, delta);
    arb_abs(s, s);
    arb_sqrt(s, s, kPrecision);
    arb_div_fmpz(s, s, a, kPrecision);
    arb_mul_2exp_si(s, s, -1);
    arb_set_fmpz(re, b);
    arb_neg(re, re);
    arb_div_fmpz(re, re, a, kPrecision);
    arb_mul_2exp_si(re, re, -1);
    QuadraticValues q;
    if (fmpz_sgn(delta) < 0) {
        q.v[0][0] = q.v[1][0] = Nearest(re);
        q.v[0][1] = Nearest(s);
        q.v[1][1] = -q.v[0][1];
    } else {
        arb_add(t, re, s, kPrecision);
        q.v[0][0] = Nearest(t);
        arb_sub(t, re, s, kPrecision);
        q.v[1][0] = Nearest(t);
    }
    arb_clear(s);
    arb_clear(re);
    arb_clear(t);
    return q;
}

// n/d reduced, as "n" or "n/d", each number written by `write`.
template <typename Write> std::string FractionText(const fmpz_t n, const fmpz_t d, Write write) {
    Integer g, rn, rd;
    fmpz_gcd(g.get(), n, d);
    fmpz_divexact(rn.get(), n, g.get());
    fmpz_divexact(rd.get(), d, g.get());
    std::string text = write(rn.get());
    if (!fmpz_is_one(rd.get()))
        text += "/" + write(rd.get());
    return text;
}

// k and 2A divided by their greatest common divisor.
void ReduceAgainst(const fmpz_t twoA, fmpz_t k, fmpz_t den) {
    Integer g;
    fmpz_gcd(g.get(), twoA, k);
    fmpz_divexact(k, k, g.get());
    fmpz_divexact(den, twoA, g.get());
}

// " /d" after a square root or "i", unless d is 1.
std::string DenominatorText(const fmpz_t den) {
    return fmpz_is_one(den) ? std::string() : " /" + IntegerDigits(den);
}

FoundRoot ExactRoot(std::string text, const double value[2]) {
    FoundRoot root;
    root.re = value[0];
    root.im = value[1];
    root.exact.assign(text, text[0] == ' ' ? 1 : 0);
    root.text = std::move(text);
    return root;
}

// A rational root: " 3", "-1/ 3" as the rational method writes it; exact "-1/3".
FoundRoot RationalRoot(const fmpq_t r) {
    std::string text = BlankedInteger(fmpq_numref(r));
    if (!fmpz_is_one(fmpq_denref(r)))
        text += "/" + BlankedInteger(fmpq_denref(r));
    double value[2] = {0, 0};
    if (fmpz_is_one(fmpq_denref(r)) && fmpz_bits(fmpq_numref(r)) <= 53) {
        value[0] = fmpz_get_d(fmpq_numref(r));
    } else {
        arf_t nearest;
        arf_init(nearest);
        arf_fmpz_div_fmpz(nearest, fmpq_numref(r), fmpq_denref(r), 53, ARF_RND_NEAR);
        value[0] = NearestDouble(nearest);
        arf_clear(nearest);
    }
    FoundRoot root = ExactRoot(std::move(text), value);
    root.exact = IntegerDigits(fmpq_numref(r));
    if (!fmpz_is_one(fmpq_denref(r)))
        root.exact += "/" + IntegerDigits(fmpq_denref(r));
    return root;
}

// The rational roots (−B ± k) / 2A, one when k is 0.
int AddRationalPair(const fmpz_t b, const fmpz_t twoA, const fmpz_t k,
                    std::vector<FoundRoot>& out) {
    Rational r;
    for (const int sign : {1, -1}) {
        fmpz_neg(fmpq_numref(r.get()), b);
        if (sign > 0)
            fmpz_add(fmpq_numref(r.get()), fmpq_numref(r.get()), k);
        else
            fmpz_sub(fmpq_numref(r.get()), fmpq_numref(r.get()), k);
        fmpz_set(fmpq_denref(r.get()), twoA);
        fmpq_canonicalise(r.get());
        out.push_back(RationalRoot(r.get()));
        if (fmpz_is_zero(k))
            return 1;
    }
    return 2;
}

// The roots of A·x² + B·x + C (A > 0): one rational root when the discriminant is 0, two
// rational roots when it is a square, else the pair written with "Sqr(" as the symbolic quadratic
// writes it, the root with "+" first (the larger real root, or the one with positive imaginary
// part). Returns how many roots were added to `out`.
int AddQuadraticRoots(const fmpz_t a, const fmpz_t b, const fmpz_t c, std::vector<FoundRoot>& out) {
    Integer delta, twoA, k, radicand, den, t;
    fmpz_mul(delta.get(), b, b);
    fmpz_mul(t.get(), a, c);
    fmpz_submul_ui(delta.get(), t.get(), 4);
    fmpz_mul_ui(twoA.get(), a, 2);
    fmpz_abs(t.get(), delta.get());
    if (fmpz_is_zero(delta.get()))
        return AddRationalPair(b, twoA.get(), delta.get(), out);
    SplitSquare(t.get(), k.get(), radicand.get());
    const bool negative = fmpz_sgn(delta.get()) < 0;
    if (!negative && fmpz_is_one(radicand.get()))
        return AddRationalPair(b, twoA.get(), k.get(), out);

    const bool small =
        fmpz_bits(t.get()) <= 53 && fmpz_bits(a) <= 52 && fmpz_bits(b) <= 53 && fmpz_bits(c) <= 51;
    const QuadraticValues q = small ? SmallQuadraticValues(fmpz_get_d(a), fmpz_get_d(b),
                                                           fmpz_get_d(c), fmpz_get_d(delta.get()))
                                    : BigQuadraticValues(a, b, delta.get());
    ReduceAgainst(twoA.get(), k.get(), den.get());
    fmpz_neg(t.get(), b);
    std::string text;
    text.reserve(40);
    // A complex pair's real part −B/2A is written without a blank and left out when 0.
    if (!fmpz_is_zero(b))
        text = negative ? FractionText(t.get(), twoA.get(), IntegerDigits)
                        : FractionText(t.get(), twoA.get(), BlankedInteger);
    const std::size_t signAt = text.size();
    text += '+';
    if (!(negative && fmpz_is_one(radicand.get())))
        text += ' ';
    if (!fmpz_is_one(k.get()))
        text += IntegerDigits(k.get());
    if (negative)
        text += 'i';
    if (!fmpz_is_one(radicand.get())) {
        if (negative || !fmpz_is_one(k.get()))
            text += kMiddleDot;
        text.append("Sqr(").append(IntegerDigits(radicand.get())).append(")");
    }
    text += DenominatorText(den.get());
    std::string lower = text;
    lower[signAt] = '-';
    out.push_back(ExactRoot(std::move(text), q.v[0]));
    out.push_back(ExactRoot(std::move(lower), q.v[1]));
    return 2;
}

// ---- The double path with exact questions in big numbers

constexpr int kMaxBits = 60;

// The exact questions answered with FLINT: exact substitution and exact division.
class BigNumberQuestions final : public ExactQuestions {
  public:
    explicit BigNumberQuestions(const fmpz_poly_t p) : p_(p) {}

    Answer IsRationalRoot(long m, RootSlots& out) override {
        Rational r, value;
        fmpz_set_si(fmpq_numref(r.get()), m);
        fmpz_set(fmpq_denref(r.get()), p_->coeffs + fmpz_poly_degree(p_));
        fmpq_canonicalise(r.get());
        fmpz_poly_evaluate_fmpq(value.get(), p_, r.get());
        if (!fmpq_is_zero(value.get()))
            return Answer::No;
        out.Next() = RationalRoot(r.get());
        return Answer::Yes;
    }

    Answer IsQuadraticFactor(long s, long q, RootSlots& out) override {
        IntegerPolynomial quadratic, quotient;
        fmpz_poly_set_coeff_si(quadratic.get(), 0, q);
        fmpz_poly_set_coeff_si(quadratic.get(), 1, -s);
        fmpz_poly_set_coeff_fmpz(quadratic.get(), 2, p_->coeffs + fmpz_poly_degree(p_));
        fmpz_poly_primitive_part(quadratic.get(), quadratic.get());
        if (!fmpz_poly_divides(quotient.get(), p_, quadratic.get()))
            return Answer::No;
        std::vector<FoundRoot> roots;
        AddQuadraticRoots(quadratic.coefficient(2), quadratic.coefficient(1),
                          quadratic.coefficient(0), roots);
        for (FoundRoot& root : roots)
            out.Next() = std::move(root);
        return Answer::Yes;
    }

  private:
    const fmpz_poly_struct* p_;
};

// ---- Arb

// Beyond this precision a real part still holding 0 is printed as 0: it is then below 2^-8000
// of the root.
constexpr long kMaxPrecision = 8192;

class Balls {
  public:
    explicit Balls(long n) : n_(n), v_(_acb_vec_init(n)) {}
    Balls(const Balls&) = delete;
    Balls& operator=(const Balls&) = delete;
    ~Balls() { _acb_vec_clear(v_, n_); }
    acb_ptr get() { return v_; }
    acb_srcptr operator[](long i) const { return v_ + i; }

  private:
    long n_;
    acb_ptr v_;
};

// Isolating balls for the roots of p. An even p = g(x²) is solved through g, so that roots on
// the imaginary axis come out with a real part of exactly 0.
void Isolate(const fmpz_poly_t p, long precision, Balls& out) {
    const long n = fmpz_poly_degree(p);
    bool even = n % 2 == 0 && n >= 4;
    for (long k = 1; even && k <= n; k += 2)
        even = fmpz_is_zero(p->coeffs + k);
    if (!even) {
        arb_fmpz_poly_complex_roots(out.get(), p, 0, precision);
        return;
    }
    IntegerPolynomial g;
    for (long k = 0; k <= n; k += 2)
        fmpz_poly_set_coeff_fmpz(g.get(), k / 2, p->coeffs + k);
    Balls squares(n / 2);
    arb_fmpz_poly_complex_roots(squares.get(), g.get(), 0, precision);
    for (long i = 0; i < n / 2; ++i) {
        acb_ptr x = out.get() + 2 * i;
        const acb_srcptr y = squares[i];
        if (arb_is_zero(acb_imagref(y)) && arb_is_negative(acb_realref(y))) {
            arb_zero(acb_realref(x));
            arb_neg(acb_imagref(x), acb_realref(y));
            arb_sqrt(acb_imagref(x), acb_imagref(x), precision);
        } else {
            acb_sqrt(x, y, precision);
        }
        acb_neg(x + 1, x);
    }
}

// The ball's value printed with `digits` digits, each proved, or nothing.
std::optional<std::string> PartText(const arb_t x, int digits, long precision) {
    if (arb_contains_zero(x))
        return std::nullopt;
    // |x| < 2^bits puts its first digit at about bits·log10(2); the loop below corrects by one.
    const long bits = arf_abs_bound_lt_2exp_si(arb_midref(x));
    long exponent = static_cast<long>(std::floor((bits - 0.5) * 0.30102999566398120));
    arb_t scaled, power;
    arb_init(scaled);
    arb_init(power);
    Integer n;
    std::optional<std::string> text;
    arf_t bound;
    arf_init(bound);
    for (int attempt = 0; attempt < 4 && !text; ++attempt) {
        const long unit = exponent - digits + 1;
        arb_ui_pow_ui(power, 10, static_cast<unsigned long>(unit < 0 ? -unit : unit),
                      precision + 64);
        if (unit < 0)
            arb_mul(scaled, x, power, precision + 64);
        else
            arb_div(scaled, x, power, precision + 64);
        arf_get_fmpz(n.get(), arb_midref(scaled), ARF_RND_NEAR);
        const std::string digitsText = [&] {
            const std::unique_ptr<char, void (*)(void*)> s(fmpz_get_str(nullptr, 10, n.get()),
                                                           flint_free);
            return std::string(s.get()[0] == '-' ? s.get() + 1 : s.get());
        }();
        if (static_cast<int>(digitsText.size()) > digits) {
            ++exponent;
            continue;
        }
        if (static_cast<int>(digitsText.size()) < digits) {
            --exponent;
            continue;
        }
        arb_sub_fmpz(scaled, scaled, n.get(), precision + 64);
        arb_get_abs_ubound_arf(bound, scaled, 64);
        if (arf_cmp_si(bound, 1) < 0)
            text = DecimalText(fmpz_sgn(n.get()) < 0, digitsText, exponent);
        else
            break;
    }
    arf_clear(bound);
    arb_clear(scaled);
    arb_clear(power);
    return text;
}

// Upper bound on |x − d| over the ball.
double DistanceBound(const arb_t x, double d) {
    arb_t t;
    arb_init(t);
    arb_set_d(t, d);
    arb_sub(t, x, t, 128);
    arf_t bound;
    arf_init(bound);
    arb_get_abs_ubound_arf(bound, t, 53);
    const double result =
        std::min(arf_get_d(bound, ARF_RND_UP), std::numeric_limits<double>::max());
    arf_clear(bound);
    arb_clear(t);
    return result;
}

// The roots from one set of balls, or false when some digit is not yet proved.
bool Print(const Balls& balls, long n, int digits, long precision, std::vector<FoundRoot>& out) {
    const bool last = precision >= kMaxPrecision;
    long reals = 0, uppers = 0;
    for (long i = 0; i < n; ++i) {
        const acb_srcptr r = balls[i];
        FoundRoot root;
        root.re = Nearest(acb_realref(r));
        root.radius = DistanceBound(acb_realref(r), root.re);
        std::optional<std::string> re = arb_is_zero(acb_realref(r))
                                            ? std::optional<std::string>("")
                                            : PartText(acb_realref(r), digits, precision);
        if (arb_is_zero(acb_imagref(r))) {
            if (!re)
                return false;
            root.text = re->empty() ? " 0" : *re;
            out.push_back(std::move(root));
            ++reals;
            continue;
        }
        if (!arb_is_positive(acb_imagref(r)))
            continue;
        if (!re && last && arb_contains_zero(acb_realref(r)))
            re = "";
        const std::optional<std::string> im = PartText(acb_imagref(r), digits, precision);
        if (!re || !im)
            return false;
        root.im = Nearest(acb_imagref(r));
        root.radius += DistanceBound(acb_imagref(r), root.im);
        root.text = UpperPairText(*re, *im);
        out.push_back(root);
        root.im = -root.im;
        root.text = LowerPairText(*re, *im);
        out.push_back(std::move(root));
        ++uppers;
    }
    return reals + 2 * uppers == n;
}

// The roots of a square-free integer polynomial of degree >= 1, isolated by Arb and refined
// until each prints with `digits` digits that are all proved.
std::vector<FoundRoot> ArbRoots(const fmpz_poly_t p, int digits, StopFlag stop) {
    const long n = fmpz_poly_degree(p);
    Balls balls(n);
    std::vector<FoundRoot> out;
    for (long precision = static_cast<long>(digits * 3.33) + 32;; precision *= 2) {
        precision = std::min(precision, kMaxPrecision);
        ThrowIfStopped(stop);
        Isolate(p, precision, balls);
        out.clear();
        if (Print(balls, n, digits, precision, out) || precision >= kMaxPrecision)
            return out;
    }
}

// ---- The general path

// The roots of a polynomial with exact forms for degrees 1 and 2; `multiplicity` is that of the
// polynomial as a factor. Returns false for degree 3 and above.
bool AddLowDegree(const fmpz_poly_t p, int multiplicity, std::vector<FoundRoot>& out) {
    const long degree = fmpz_poly_degree(p);
    if (degree == 1) {
        Rational r;
        fmpz_neg(fmpq_numref(r.get()), p->coeffs);
        fmpz_set(fmpq_denref(r.get()), p->coeffs + 1);
        fmpq_canonicalise(r.get());
        out.push_back(RationalRoot(r.get()));
        out.back().multiplicity = multiplicity;
        return true;
    }
    if (degree == 2) {
        const int added = AddQuadraticRoots(p->coeffs + 2, p->coeffs + 1, p->coeffs, out);
        for (int k = 1; k <= added; ++k)
            out[out.size() - k].multiplicity = added == 1 ? 2 * multiplicity : multiplicity;
        return true;
    }
    return false;
}

// Every root through the factorisation over the integers: exact multiplicities, exact roots of
// linear and quadratic factors, the other factors' roots in doubles or, failing that, by Arb.
void AddByFactors(const fmpz_poly_t p, int digits, StopFlag stop, std::vector<FoundRoot>& out) {
    fmpz_poly_factor_t factors;
    fmpz_poly_factor_init(factors);
    fmpz_poly_factor(factors, p);
    for (long i = 0; i < factors->num; ++i) {
        const fmpz_poly_struct* f = factors->p + i;
        const int multiplicity = static_cast<int>(factors->exp[i]);
        if (AddLowDegree(f, multiplicity, out))
            continue;
        const std::size_t first = out.size();
        ThrowIfStopped(stop);
        if (!SolveInDoubles(f, digits, false, stop, out)) {
            std::vector<FoundRoot> roots = ArbRoots(f, digits, stop);
            out.insert(out.end(), roots.begin(), roots.end());
        }
        for (std::size_t k = first; k < out.size(); ++k)
            out[k].multiplicity = multiplicity;
    }
    fmpz_poly_factor_clear(factors);
}

// The general path: exact reading into FLINT, then degree 1 and 2 exactly, the double path, or
// the factorisation. False when there is nothing to solve (a fault in the texts, a constant).
bool SolveExactly(const CoefficientTexts& coefficients, int digits, StopFlag stop,
                  AllRootsResult& result) {
    IntegerPolynomial p;
    const ExactReadResult read = ReadExactPolynomial(coefficients, p);
    if (read.status != AllRootsResult::Status::Solved) {
        result.status = read.status;
        result.power = read.power;
        return false;
    }
    result.degree = std::max(p.degree(), 0);
    if (result.degree == 0) {
        result.status = AllRootsResult::Status::ConstantOnly;
        return false;
    }
    int zeros = 0;
    while (fmpz_is_zero(p.coefficient(zeros)))
        ++zeros;
    if (zeros > 0) {
        Rational zero;
        result.roots.push_back(RationalRoot(zero.get()));
        result.roots.back().multiplicity = zeros;
        fmpz_poly_shift_right(p.get(), p.get(), zeros);
    }
    std::vector<FoundRoot>& roots = result.roots;
    roots.reserve(static_cast<std::size_t>(result.degree));
    if (p.degree() >= 1 && !AddLowDegree(p.get(), 1, roots) &&
        !SolveInDoubles(p.get(), digits, true, stop, roots))
        AddByFactors(p.get(), digits, stop, roots);
    return true;
}

} // namespace

ExactReading ReadExactNumber(std::string_view text, fmpq_t value) {
    if (long n = 0; ReadPlainInteger(text, n)) {
        fmpq_set_si(value, n, 1);
        return ExactReading::Read;
    }
    DecimalNumber numerator, denominator;
    const ExactReading reading = ScanExactNumber(text, numerator, denominator);
    if (reading != ExactReading::Read)
        return reading;
    DecimalValue(numerator, value);
    if (!fmpq_is_zero(value) && denominator.digits != "1") {
        Rational d;
        DecimalValue(denominator, d.get());
        fmpq_div(value, value, d.get());
    }
    return ExactReading::Read;
}

bool SolveInDoubles(const fmpz_poly_t p, int digits, bool exactForms, StopFlag stop,
                    std::vector<FoundRoot>& out) {
    const long degree = fmpz_poly_degree(p);
    if (degree < 1 || degree > kMaxDegree || std::labs(fmpz_poly_max_bits(p)) > kMaxBits ||
        fmpz_is_zero(p->coeffs))
        return false;
    std::array<long, kMaxDegree + 1> c{};
    for (int k = 0; k <= degree; ++k)
        c[k] = fmpz_get_si(p->coeffs + k);
    BigNumberQuestions questions(p);
    const std::size_t before = out.size();
    RootSlots slots(out, before);
    if (SolveCertified(ToDoublePolynomial(c.data(), static_cast<int>(degree)), digits,
                       exactForms ? &questions : nullptr, stop, slots))
        return true;
    out.resize(before);
    return false;
}

void SolveWithBigNumbers(const CoefficientTexts& coefficients, int digits, StopFlag stop,
                         AllRootsResult& result) {
    try {
        if (SolveExactly(coefficients, digits, stop, result))
            ListRoots(result.roots);
    } catch (const StopRequested&) {
        result.roots.clear();
        result.status = AllRootsResult::Status::Stopped;
    }
}

void EndBigNumberThread() {
    flint_cleanup();
}

} // namespace valdrex
