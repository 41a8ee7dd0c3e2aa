// The big-number path: the coefficient texts read exactly into a primitive integer polynomial
// (FLINT), the root 0 taken out, then the double path on the whole polynomial, and failing that
// the factorisation over the integers: exact multiplicities, exact roots of linear and quadratic
// factors, the other factors' roots through the double path or, where that cannot prove them
// (clusters, more than 15 digits, huge coefficients, a part on a rounding boundary), the
// enclosure phase (isolating balls, enclosures.cpp and hard_isolation.cpp) refined until every
// part is correctly rounded. It gives every equation an answer with the same promises as the
// machine-integer path, and the same bytes where both answer; the roots of all factors are
// listed together by their keys, refined where two are equal, except two real roots of one
// factor, which their disjoint balls already order.
#include "solvers/all_roots/big_numbers.h"

#include "solvers/all_roots/certification.h"
#include "solvers/all_roots/enclosures.h"
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
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

namespace valdrex {
namespace {

// ---- Reading

// ±digits·10^exponent as a rational.
void DecimalValue(const LeadingNumber& d, fmpq_t value) {
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
    int power = -1;              // the box at fault
    std::string_view limit = {}; // with TooLong, the limit gone beyond
};

// Grids of plain integers, the usual case, go straight into the polynomial.
bool ReadPlainIntegers(const CoefficientTexts& texts, IntegerPolynomial& out) {
    std::array<long, kCoefficientCount> values{};
    for (int i = 0; i < kCoefficientCount; ++i)
        if (!texts[i].empty() && !ReadPlainInteger(texts[i], values[i]))
            return false;
    fmpz_poly_fit_length(out.get(), kCoefficientCount);
    for (int i = 0; i < kCoefficientCount; ++i)
        fmpz_set_si(out.get()->coeffs + i, values[i]);
    _fmpz_poly_set_length(out.get(), kCoefficientCount);
    _fmpz_poly_normalise(out.get());
    return true;
}

// The equation of the coefficient texts as a primitive integer polynomial with a positive
// leading coefficient (the zero polynomial when every coefficient is zero), into `out`, which
// comes in as the zero polynomial.
ExactReadResult ReadExactPolynomial(const CoefficientTexts& texts, IntegerPolynomial& out) {
    if (ReadPlainIntegers(texts, out)) {
        fmpz_poly_primitive_part(out.get(), out.get());
        return {};
    }
    std::array<Rational, kCoefficientCount> values;
    Integer scale(1);
    for (int i = 0; i < kCoefficientCount; ++i) {
        switch (const ExactReading reading = ReadExactNumber(texts[i], values[i].get())) {
        case ExactReading::Read:
            break;
        case ExactReading::ZeroDenominator:
            return {AllRootsResult::Status::ZeroDenominator, i};
        case ExactReading::NotANumber:
            return {AllRootsResult::Status::NotANumber, i};
        case ExactReading::TooManyDigits:
        case ExactReading::PowerTooLarge:
            return {AllRootsResult::Status::TooLong, i, ReadingLimitText(reading)};
        }
        if (!fmpz_is_one(fmpq_denref(values[i].get())))
            fmpz_lcm(scale.get(), scale.get(), fmpq_denref(values[i].get()));
    }
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
        const SquareSplit split = SplitSmallSquare(fmpz_get_si(n));
        fmpz_set_si(k, split.k);
        fmpz_set_si(r, split.r);
        return;
    }
    IntegerFactorisation factors;
    fmpz_factor_struct* const f = factors.get();
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
}

QuadraticValues BigQuadraticValues(const fmpz_t a, const fmpz_t b, const fmpz_t delta) {
    Real sBall, reBall, tBall;
    const arb_ptr s = sBall.get(), re = reBall.get(), t = tBall.get();
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
    return q;
}

// k and 2A divided by their greatest common divisor.
void ReduceAgainst(const fmpz_t twoA, fmpz_t k, fmpz_t den) {
    Integer g;
    fmpz_gcd(g.get(), twoA, k);
    fmpz_divexact(k, k, g.get());
    fmpz_divexact(den, twoA, g.get());
}

FoundRoot ExactRoot(std::string text, const double value[2]) {
    FoundRoot root;
    root.re = value[0];
    root.im = value[1];
    root.exact.assign(text, text[0] == ' ' ? 1 : 0);
    root.text = std::move(text);
    return root;
}

// A rational root: " 3", "-1/ 3" as the rational method writes it; exact "-1/3"; with
// `decimalDigits` (0: none) its parts' decimal texts.
FoundRoot RationalRoot(const fmpq_t r, int decimalDigits = 0) {
    std::string text = BlankedInteger(fmpq_numref(r));
    if (!fmpz_is_one(fmpq_denref(r)))
        text += "/" + BlankedInteger(fmpq_denref(r));
    const double value[2] = {NearestDouble(r), 0};
    FoundRoot root = ExactRoot(std::move(text), value);
    root.exact = IntegerDigits(fmpq_numref(r));
    if (!fmpz_is_one(fmpq_denref(r)))
        root.exact += "/" + IntegerDigits(fmpq_denref(r));
    if (decimalDigits > 0) {
        RoundedPart re;
        RoundRational(r, decimalDigits, re);
        SetDecimals(root, re, RoundedPart{}, false);
    }
    return root;
}

// The roots of A·x² + B·x + C (A > 0, a discriminant that is not a square: rational roots are
// found as such) written with "Sqr(" as the symbolic quadratic writes them, the root with "+"
// first (the larger real root, or the one with positive imaginary part).
void AddQuadraticRoots(const fmpz_t a, const fmpz_t b, const fmpz_t c,
                       std::vector<FoundRoot>& out) {
    Integer delta, twoA, k, radicand, den, t;
    fmpz_mul(delta.get(), b, b);
    fmpz_mul(t.get(), a, c);
    fmpz_submul_ui(delta.get(), t.get(), 4);
    fmpz_mul_ui(twoA.get(), a, 2);
    fmpz_abs(t.get(), delta.get());
    SplitSquare(t.get(), k.get(), radicand.get());
    const bool negative = fmpz_sgn(delta.get()) < 0;

    const bool small =
        fmpz_bits(t.get()) <= 53 && fmpz_bits(a) <= 52 && fmpz_bits(b) <= 53 && fmpz_bits(c) <= 51;
    const QuadraticValues q = small ? SmallQuadraticValues(fmpz_get_d(a), fmpz_get_d(b),
                                                           fmpz_get_d(c), fmpz_get_d(delta.get()))
                                    : BigQuadraticValues(a, b, delta.get());
    ReduceAgainst(twoA.get(), k.get(), den.get());
    Rational re;
    fmpz_neg(fmpq_numref(re.get()), b);
    fmpz_set(fmpq_denref(re.get()), twoA.get());
    fmpq_canonicalise(re.get());
    const auto unlessOne = [](const fmpz_t n) {
        return fmpz_is_one(n) ? std::string() : IntegerDigits(n);
    };
    const std::string numerator = fmpz_is_zero(b) ? "" : IntegerDigits(fmpq_numref(re.get()));
    const std::string denominator = unlessOne(fmpq_denref(re.get()));
    const std::string factor = unlessOne(k.get()), root = unlessOne(radicand.get());
    const std::string divisor = unlessOne(den.get());
    std::string text;
    const std::size_t signAt =
        WriteQuadraticRoot(text, {numerator, denominator, negative, factor, root, divisor});
    std::string lower = text;
    lower[signAt] = '-';
    out.push_back(ExactRoot(std::move(text), q.v[0]));
    out.push_back(ExactRoot(std::move(lower), q.v[1]));
}

// ---- The double path with exact questions in big numbers

constexpr int kMaxBits = 60;

// The exact questions answered with FLINT: exact substitution and exact division.
class BigNumberQuestions final : public ExactQuestions {
  public:
    BigNumberQuestions(const fmpz_poly_t p, int decimalDigits)
        : p_(p), decimalDigits_(decimalDigits) {}

    Answer IsRationalRoot(long m, RootSlots& out) override {
        Rational r, value;
        fmpz_set_si(fmpq_numref(r.get()), m);
        fmpz_set(fmpq_denref(r.get()), p_->coeffs + fmpz_poly_degree(p_));
        fmpq_canonicalise(r.get());
        fmpz_poly_evaluate_fmpq(value.get(), p_, r.get());
        if (!fmpq_is_zero(value.get()))
            return Answer::No;
        out.Next() = RationalRoot(r.get(), decimalDigits_);
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
        // Its discriminant is no square: rational roots were asked about, and found, first.
        std::vector<FoundRoot> roots;
        AddQuadraticRoots(quadratic.coefficient(2), quadratic.coefficient(1),
                          quadratic.coefficient(0), roots);
        for (FoundRoot& root : roots)
            out.Next() = std::move(root);
        return Answer::Yes;
    }

  private:
    const fmpz_poly_struct* p_;
    int decimalDigits_;
};

// ---- The factor path: each factor a source of roots, listed together

// A unit of the list: a real root, or a conjugate pair with its upper root first; keys[j] holds
// its key at digits·2^j.
struct Unit {
    std::vector<RootKey> keys;
    FoundRoot upper, lower;
};

// The roots of one factor of the polynomial (or the root 0), with their keys to the level asked.
class Source {
  public:
    Source(int digits, int multiplicity) : digits_(digits), multiplicity_(multiplicity) {}
    virtual ~Source() = default;
    // Keys at levels 0..level for every unit, the units written anew where that needs it.
    virtual void Refine(int level, StopFlag stop) = 0;
    // Whether the first of two of its real roots (unit indices) is the smaller, when the source
    // knows it from its enclosures; nothing when only more digits tell.
    virtual std::optional<bool> RealBefore(std::size_t, std::size_t) const { return {}; }
    int level() const { return level_; }
    std::vector<Unit>& units() { return units_; }
    int multiplicity() const { return multiplicity_; }

  protected:
    int DigitsAt(int level) const { return digits_ << level; }
    int digits_;
    int multiplicity_;
    int level_ = -1;
    std::vector<Unit> units_;
};

// A rational root, with exact keys.
class RationalSource final : public Source {
  public:
    RationalSource(const fmpq_t r, int digits, int multiplicity) : Source(digits, multiplicity) {
        fmpq_set(value_.get(), r);
        units_.resize(1);
        units_[0].upper = RationalRoot(r);
    }
    void Refine(int level, StopFlag) override {
        for (; level_ < level; ++level_) {
            RootKey& key = units_[0].keys.emplace_back();
            RoundRational(value_.get(), DigitsAt(level_ + 1), key.re);
        }
    }

  private:
    Rational value_;
};

// The two roots of an irreducible quadratic factor, written exactly; their keys from Arb, the
// rational parts exactly.
class QuadraticSource final : public Source {
  public:
    QuadraticSource(const fmpz_poly_t q, int digits, int multiplicity)
        : Source(digits, multiplicity) {
        fmpz_poly_set(q_.get(), q);
        std::vector<FoundRoot> roots;
        AddQuadraticRoots(q->coeffs + 2, q->coeffs + 1, q->coeffs, roots);
        // A pair: the root with "+", upper, first; two real roots: the "+" one, larger, first.
        fmpz_mul(delta_.get(), q->coeffs + 1, q->coeffs + 1);
        Integer ac;
        fmpz_mul(ac.get(), q->coeffs + 2, q->coeffs);
        fmpz_submul_ui(delta_.get(), ac.get(), 4);
        if (fmpz_sgn(delta_.get()) < 0) {
            units_.resize(1);
            units_[0].upper = std::move(roots[0]);
            units_[0].lower = std::move(roots[1]);
        } else {
            units_.resize(2);
            units_[0].upper = std::move(roots[1]);
            units_[1].upper = std::move(roots[0]);
        }
    }

    void Refine(int level, StopFlag stop) override {
        for (; level_ < level; ++level_) {
            const int digits = DigitsAt(level_ + 1);
            if (units_.size() == 1) {
                RootKey& key = units_[0].keys.emplace_back();
                key.real = false;
                // −B/2A, and √(−Δ)/2A
                Rational re;
                fmpz_neg(fmpq_numref(re.get()), q_.coefficient(1));
                fmpz_mul_ui(fmpq_denref(re.get()), q_.coefficient(2), 2);
                RoundRational(re.get(), digits, key.re);
                RoundRoot(0, digits, stop, key.im);
            } else {
                RoundRoot(-1, digits, stop, units_[0].keys.emplace_back().re);
                RoundRoot(1, digits, stop, units_[1].keys.emplace_back().re);
            }
        }
    }

  private:
    // (−B + sign·√Δ) / 2A rounded (sign ±1, a real root), or √|Δ| / 2A (sign 0, the size of a
    // pair's imaginary part); irrational unless |Δ| is a square, which is then rounded exactly.
    void RoundRoot(int sign, int digits, StopFlag stop, RoundedPart& out) {
        Integer magnitude;
        fmpz_abs(magnitude.get(), delta_.get());
        if (sign == 0 && fmpz_is_square(magnitude.get())) {
            Rational im;
            fmpz_sqrt(fmpq_numref(im.get()), magnitude.get());
            fmpz_mul_ui(fmpq_denref(im.get()), q_.coefficient(2), 2);
            RoundRational(im.get(), digits, out);
            return;
        }
        Real x, b;
        Rational boundary;
        for (long bits = static_cast<long>(digits * 3.33) + 32;; bits *= 2) {
            ThrowIfStopped(stop);
            arb_set_fmpz(x.get(), magnitude.get());
            arb_sqrt(x.get(), x.get(), bits);
            if (sign != 0) {
                arb_mul_si(x.get(), x.get(), sign, bits);
                arb_set_fmpz(b.get(), q_.coefficient(1));
                arb_sub(x.get(), x.get(), b.get(), bits);
            }
            arb_div_fmpz(x.get(), x.get(), q_.coefficient(2), bits);
            arb_mul_2exp_si(x.get(), x.get(), -1);
            if (RoundBall(x.get(), digits, out, boundary.get()) == BallRounding::Rounded)
                return;
        }
    }

    IntegerPolynomial q_;
    Integer delta_;
};

// The roots of an irreducible factor of degree 3 or more: from the double path for the printed
// digits when it proves them, otherwise (and for more digits) from Arb.
class NumericSource final : public Source {
  public:
    NumericSource(const fmpz_poly_t f, int digits, int multiplicity)
        : Source(digits, multiplicity), factor_(f) {
        fmpz_poly_set(f_.get(), f);
    }

    void Refine(int level, StopFlag stop) override {
        if (level <= level_)
            return;
        if (level == 0 && FromDoubles(stop))
            return;
        FromBalls(level, stop);
    }

    // The isolating balls are disjoint, so they order two real roots at any closeness: a
    // Mignotte pair 10^-600 apart needs no keys of 600 digits.
    std::optional<bool> RealBefore(std::size_t a, std::size_t b) const override {
        if (!fromBalls_)
            return {};
        return arb_lt(acb_realref(factor_.root(static_cast<long>(a))),
                      acb_realref(factor_.root(static_cast<long>(b))));
    }

  private:
    // The first refinement (no units yet), when the double path proves the printed digits.
    bool FromDoubles(StopFlag stop) {
        std::vector<FoundRoot> roots;
        std::vector<RootKey> keys;
        if (!SolveInDoubles(f_.get(), digits_, 0, false, stop, roots, &keys))
            return false;
        std::size_t at = 0;
        for (RootKey& key : keys) {
            Unit& unit = units_.emplace_back();
            unit.upper = std::move(roots[at++]);
            if (!key.real)
                unit.lower = std::move(roots[at++]);
            unit.keys.push_back(std::move(key));
        }
        level_ = 0;
        fromBalls_ = false;
        return true;
    }

    // Every unit with keys to `level`, from one isolation precise enough for all of them.
    void FromBalls(int level, StopFlag stop) {
        const long first = static_cast<long>(DigitsAt(level) * 3.33) + 32;
        for (long bits = first;; bits *= 2) {
            ThrowIfStopped(stop);
            if (!factor_.Isolate(bits, stop))
                throw StopRequested{};
            if (Write(level, bits, bits > first))
                break;
        }
        level_ = level;
        fromBalls_ = true;
    }

    // The units from the current balls; false when some part is not yet decided.
    bool Write(int level, long bits, bool tryBoundaries) {
        std::vector<Unit> units(static_cast<std::size_t>(factor_.count()));
        for (long i = 0; i < factor_.count(); ++i) {
            Unit& unit = units[static_cast<std::size_t>(i)];
            for (int j = 0; j <= level; ++j)
                if (!Round(i, DigitsAt(j), bits, tryBoundaries, unit.keys.emplace_back()))
                    return false;
            Describe(i, unit);
        }
        units_ = std::move(units);
        return true;
    }

    // The key of root i at `digits`: the real part exactly where it is the shift, the imaginary
    // part tested exactly against a boundary its ball holds.
    bool Round(long i, int digits, long bits, bool tryBoundaries, RootKey& key) {
        acb_srcptr x = factor_.root(i);
        key.real = arb_is_zero(acb_imagref(x));
        Rational boundary;
        if (factor_.onAxis(i)) {
            RoundRational(factor_.shift(), digits, key.re);
        } else if (RoundBall(acb_realref(x), digits, key.re, boundary.get()) !=
                   BallRounding::Rounded) {
            return false;
        }
        if (key.real)
            return true;
        const BallRounding im = RoundBall(acb_imagref(x), digits, key.im, boundary.get());
        if (im == BallRounding::Boundary && tryBoundaries && factor_.Disjoint() &&
            factor_.ImaginaryPartIs(i, boundary.get(), bits)) {
            RoundRational(boundary.get(), digits, key.im);
            return true;
        }
        return im == BallRounding::Rounded;
    }

    // The texts and doubles of root i from its ball and its key at the printed digits.
    void Describe(long i, Unit& unit) {
        acb_srcptr x = factor_.root(i);
        const RootKey& key = unit.keys[0];
        FoundRoot& root = unit.upper;
        root.re = factor_.onAxis(i) ? NearestDouble(factor_.shift())
                                    : NearestDouble(arb_midref(acb_realref(x)));
        root.radius = DistanceBound(acb_realref(x), root.re);
        PartBuffer reBuffer, imBuffer;
        if (key.real) {
            root.text.assign(PartText(key.re, reBuffer));
            return;
        }
        root.im = NearestDouble(arb_midref(acb_imagref(x)));
        // Held to the finite range as each part's bound is.
        root.radius = std::min(root.radius + DistanceBound(acb_imagref(x), root.im),
                               std::numeric_limits<double>::max());
        // A real part of exactly 0 is left out.
        const std::string_view re = key.re.digits.empty() ? "" : PartText(key.re, reBuffer);
        const std::string_view im = PartText(key.im, imBuffer);
        AppendPairText(root.text, re, im, true);
        unit.lower = root;
        unit.lower.im = -root.im;
        unit.lower.text.clear();
        AppendPairText(unit.lower.text, re, im, false);
    }

    IntegerPolynomial f_;
    IsolatedFactor factor_;
    bool fromBalls_ = false; // the units come from factor_'s current balls
};

// A place in the list: unit `index` of source `source`.
struct Place {
    int source = 0;
    std::size_t index = 0;
};

// Thrown by the comparison when a source's keys do not reach the level it needs.
struct NeedLevel {
    int source;
    int level;
};

// Lists every unit of the sources in the listed order, refining sources whose units tie; with
// `decimals`, the parts' decimal texts from the keys at the printed digits.
void ListSources(std::vector<std::unique_ptr<Source>>& sources, bool decimals, StopFlag stop,
                 std::vector<FoundRoot>& out) {
    std::vector<Place> places;
    for (;;) {
        places.clear();
        for (std::size_t s = 0; s < sources.size(); ++s)
            for (std::size_t i = 0; i < sources[s]->units().size(); ++i)
                places.push_back({static_cast<int>(s), i});
        const auto before = [&](const Place& a, const Place& b) {
            if (a.source == b.source && a.index == b.index)
                return false;
            const Unit& ua = sources[a.source]->units()[a.index];
            const Unit& ub = sources[b.source]->units()[b.index];
            for (int level = 0;; ++level) {
                for (const Place& p : {a, b}) {
                    if (sources[p.source]->level() >= level)
                        continue;
                    if (a.source == b.source && ua.keys[0].real && ub.keys[0].real)
                        if (const std::optional<bool> before =
                                sources[a.source]->RealBefore(a.index, b.index))
                            return *before;
                    throw NeedLevel{p.source, level};
                }
                const int order = CompareKeys(ua.keys[level], ub.keys[level]);
                if (order != 0)
                    return order < 0;
            }
        };
        try {
            std::sort(places.begin(), places.end(), before);
            break;
        } catch (const NeedLevel& need) {
            sources[need.source]->Refine(need.level, stop);
        }
    }
    for (const Place& p : places) {
        Unit& unit = sources[p.source]->units()[p.index];
        const int multiplicity = sources[p.source]->multiplicity();
        const RootKey& key = unit.keys[0];
        unit.upper.multiplicity = multiplicity;
        if (decimals)
            SetDecimals(unit.upper, key.re, key.im, false);
        out.push_back(std::move(unit.upper));
        if (!key.real) {
            unit.lower.multiplicity = multiplicity;
            if (decimals)
                SetDecimals(unit.lower, key.re, key.im, true);
            out.push_back(std::move(unit.lower));
        }
    }
}

// ---- The general path

// FLINT's factorisation cannot be stopped, and on coefficients of tens of thousands of digits it
// takes a noticeable time: there it runs on a thread of its own, which a stop leaves behind to
// finish alone while the solve ends at once. That thread makes and frees every FLINT value it
// uses (FLINT keeps big integers in caches of the thread that made them), handing over only
// through the two copies the caller waits for.
constexpr slong kFactorOnItsOwnBits = 4096;

struct FactorJob {
    const fmpz_poly_struct* input;                    // the caller's, until `copied`
    const fmpz_poly_factor_struct* factors = nullptr; // the thread's, from `done` until released
    std::mutex mutex;
    std::condition_variable changed;
    bool copied = false, done = false, released = false;
};

void FactorStoppably(const fmpz_poly_t p, fmpz_poly_factor_t factors, StopFlag stop) {
    // The bits of the largest coefficient, negative when any coefficient is.
    if (stop == nullptr || std::labs(fmpz_poly_max_bits(p)) <= kFactorOnItsOwnBits) {
        fmpz_poly_factor(factors, p);
        return;
    }
    auto job = std::make_shared<FactorJob>();
    job->input = p;
    std::thread([job] {
#ifdef __SANITIZE_ADDRESS__
        // A stop may end the program while this thread computes, and FLINT holds big integers
        // behind tagged pointers that no leak checker follows: what it allocates is not counted.
        __lsan_disable();
#endif
        {
            IntegerPolynomial input;
            IntegerFactors found;
            std::unique_lock lock(job->mutex);
            fmpz_poly_set(input.get(), job->input);
            job->copied = true;
            job->changed.notify_all();
            lock.unlock();
            fmpz_poly_factor(found.get(), input.get());
            lock.lock();
            job->factors = found.get();
            job->done = true;
            job->changed.notify_all();
            job->changed.wait(lock, [&] { return job->released; });
        }
        flint_cleanup(); // this thread's caches, after its values
    }).detach();
    std::unique_lock lock(job->mutex);
    job->changed.wait(lock, [&] { return job->copied; });
    const auto release = [&] {
        job->released = true;
        job->changed.notify_all();
    };
    while (!job->changed.wait_for(lock, std::chrono::milliseconds(10), [&] { return job->done; }))
        if (stop->load(std::memory_order_relaxed)) {
            release();
            ThrowStopRequested();
        }
    fmpz_poly_factor_set(factors, job->factors);
    release();
}

// Every root through the factorisation over the integers: exact multiplicities, exact roots of
// linear and quadratic factors, the other factors' roots in doubles or by Arb.
void AddByFactors(const fmpz_poly_t p, int zeros, int digits, bool decimals, StopFlag stop,
                  std::vector<FoundRoot>& out) {
    std::vector<std::unique_ptr<Source>> sources;
    if (zeros > 0) {
        Rational zero;
        sources.push_back(std::make_unique<RationalSource>(zero.get(), digits, zeros));
    }
    IntegerFactors factors;
    FactorStoppably(p, factors.get(), stop);
    for (long i = 0; i < factors.get()->num; ++i) {
        const fmpz_poly_struct* f = factors.get()->p + i;
        const int multiplicity = static_cast<int>(factors.get()->exp[i]);
        const long degree = fmpz_poly_degree(f);
        if (degree == 1) {
            Rational r;
            fmpz_neg(fmpq_numref(r.get()), f->coeffs);
            fmpz_set(fmpq_denref(r.get()), f->coeffs + 1);
            fmpq_canonicalise(r.get());
            sources.push_back(std::make_unique<RationalSource>(r.get(), digits, multiplicity));
        } else if (degree == 2) {
            sources.push_back(std::make_unique<QuadraticSource>(f, digits, multiplicity));
        } else {
            sources.push_back(std::make_unique<NumericSource>(f, digits, multiplicity));
        }
    }
    for (const std::unique_ptr<Source>& source : sources) {
        ThrowIfStopped(stop);
        source->Refine(0, stop);
    }
    ListSources(sources, decimals, stop, out);
}

// The general path: exact reading into FLINT, then the double path, or the factorisation. False
// when there is nothing to solve (a fault in the texts, a constant).
bool SolveExactly(const CoefficientTexts& coefficients, int digits, StopFlag stop,
                  AllRootsResult& result) {
    IntegerPolynomial p;
    const ExactReadResult read = ReadExactPolynomial(coefficients, p);
    if (read.status != AllRootsResult::Status::Solved) {
        result.status = read.status;
        result.power = read.power;
        result.limit = std::string(read.limit);
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
    fmpz_poly_shift_right(p.get(), p.get(), zeros);
    std::vector<FoundRoot>& roots = result.roots;
    roots.reserve(static_cast<std::size_t>(result.degree));
    // Degree 2 at most goes through the factors too: its roots' doubles may tie or vanish, where
    // their exact keys do not.
    bool solved = false;
    const int decimalDigits = result.decimalsAsked ? digits : 0;
    if (p.degree() > 2) {
        if (zeros > 0) {
            Rational zero;
            roots.push_back(RationalRoot(zero.get(), decimalDigits));
            roots.back().multiplicity = zeros;
        }
        solved = SolveInDoubles(p.get(), digits, decimalDigits, true, stop, roots);
        if (solved && zeros > 0)
            PlaceRootZero(roots);
    }
    if (!solved) {
        roots.clear();
        AddByFactors(p.get(), zeros, digits, result.decimalsAsked, stop, roots);
    }
    AddMultiplicityTexts(roots);
    return true;
}

} // namespace

ExactReading ReadExactNumber(std::string_view text, fmpq_t value) {
    if (long n = 0; ReadPlainInteger(text, n)) {
        fmpq_set_si(value, n, 1);
        return ExactReading::Read;
    }
    LeadingNumber numerator, denominator;
    const ExactReading reading = ScanExactNumber(text, numerator, denominator);
    if (reading != ExactReading::Read)
        return reading;
    DecimalValue(numerator, value);
    Rational d;
    DecimalValue(denominator, d.get());
    fmpq_div(value, value, d.get());
    return ExactReading::Read;
}

bool SolveInDoubles(const fmpz_poly_t p, int digits, int decimalDigits, bool exactForms,
                    StopFlag stop, std::vector<FoundRoot>& out, std::vector<RootKey>* keys) {
    const long degree = fmpz_poly_degree(p);
    if (std::labs(fmpz_poly_max_bits(p)) > kMaxBits)
        return false;
    std::array<long, kMaxDegree + 1> c{};
    for (int k = 0; k <= degree; ++k)
        c[k] = fmpz_get_si(p->coeffs + k);
    BigNumberQuestions questions(p, decimalDigits);
    const std::size_t before = out.size();
    RootSlots slots(out, before);
    if (SolveCertified(ToDoublePolynomial(c.data(), static_cast<int>(degree)), digits,
                       decimalDigits, exactForms ? &questions : nullptr, stop, slots, keys))
        return true;
    out.resize(before);
    return false;
}

void SolveWithBigNumbers(const CoefficientTexts& coefficients, int digits, StopFlag stop,
                         AllRootsResult& result) {
    try {
        SolveExactly(coefficients, digits, stop, result);
    } catch (const StopRequested&) {
        result.roots.clear();
        result.status = AllRootsResult::Status::Stopped;
    }
}

void EndBigNumberThread() {
    flint_cleanup();
}

} // namespace valdrex
