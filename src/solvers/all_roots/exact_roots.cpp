#include "solvers/all_roots/exact_roots.h"

#include "core/equation_text.h"
#include "solvers/all_roots/flint_values.h"
#include "solvers/all_roots/nearest_double.h"
#include "solvers/all_roots/quadratic_parts.h"

#include <arb.h>
#include <flint/fmpz_factor.h>

#include <charconv>
#include <memory>

namespace valdrex {
namespace {

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

} // namespace

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

} // namespace valdrex
