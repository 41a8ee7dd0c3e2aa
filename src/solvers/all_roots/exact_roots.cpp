#include "solvers/all_roots/exact_roots.h"

#include "core/equation_text.h"
#include "solvers/all_roots/flint_values.h"

#include <arb.h>
#include <flint/fmpz_factor.h>

#include <memory>

namespace valdrex {
namespace {

constexpr long kPrecision = 128;

std::string IntegerDigits(const fmpz_t n) {
    const std::unique_ptr<char, void (*)(void*)> s(fmpz_get_str(nullptr, 10, n), flint_free);
    return s.get();
}

// As NumberToStr writes a whole number: a blank in place of the sign of a non-negative one.
std::string BlankedInteger(const fmpz_t n) {
    return fmpz_sgn(n) < 0 ? IntegerDigits(n) : " " + IntegerDigits(n);
}

double Nearest(const arb_t x) {
    return arf_get_d(arb_midref(x), ARF_RND_NEAR);
}

// |n| = k²·R with R free of squares.
void SplitSquare(const fmpz_t n, fmpz_t k, fmpz_t r) {
    fmpz_factor_t f;
    fmpz_factor_init(f);
    fmpz_factor(f, n);
    fmpz_one(k);
    fmpz_one(r);
    for (long i = 0; i < f->num; ++i) {
        fmpz_t p;
        fmpz_init(p);
        fmpz_pow_ui(p, f->p + i, f->exp[i] / 2);
        fmpz_mul(k, k, p);
        if (f->exp[i] % 2 == 1)
            fmpz_mul(r, r, f->p + i);
        fmpz_clear(p);
    }
    fmpz_factor_clear(f);
}

// n/d reduced, as "n" or "n/d", each number written by `write`.
template <typename Write>
std::string FractionText(const fmpz_t n, const fmpz_t d, Write write) {
    Integer g, rn, rd;
    fmpz_gcd(g.get(), n, d);
    fmpz_divexact(rn.get(), n, g.get());
    fmpz_divexact(rd.get(), d, g.get());
    std::string text = write(rn.get());
    if (!fmpz_is_one(rd.get()))
        text += "/" + write(rd.get());
    return text;
}

// " /d" after a square root or "i", with d = 2A / gcd(2A, k) and k divided likewise.
void ReduceAgainst(const fmpz_t twoA, fmpz_t k, fmpz_t den) {
    Integer g;
    fmpz_gcd(g.get(), twoA, k);
    fmpz_divexact(k, k, g.get());
    fmpz_divexact(den, twoA, g.get());
}

std::string DenominatorText(const fmpz_t den) {
    return fmpz_is_one(den) ? std::string() : " /" + IntegerDigits(den);
}

FoundRoot ExactRoot(std::string text, double re, double im) {
    FoundRoot root;
    root.re = re;
    root.im = im;
    root.exact = text[0] == ' ' ? text.substr(1) : text;
    root.text = std::move(text);
    return root;
}

} // namespace

FoundRoot RationalRoot(const fmpq_t r) {
    std::string text = BlankedInteger(fmpq_numref(r));
    if (!fmpz_is_one(fmpq_denref(r)))
        text += "/" + BlankedInteger(fmpq_denref(r));
    arf_t nearest;
    arf_init(nearest);
    arf_fmpz_div_fmpz(nearest, fmpq_numref(r), fmpq_denref(r), 53, ARF_RND_NEAR);
    FoundRoot root = ExactRoot(std::move(text), arf_get_d(nearest, ARF_RND_NEAR), 0);
    arf_clear(nearest);
    root.exact = IntegerDigits(fmpq_numref(r));
    if (!fmpz_is_one(fmpq_denref(r)))
        root.exact += "/" + IntegerDigits(fmpq_denref(r));
    return root;
}

std::vector<FoundRoot> QuadraticRoots(const fmpz_t a, const fmpz_t b, const fmpz_t c) {
    Integer delta, twoA, k, radicand, den, t;
    fmpz_mul(delta.get(), b, b);
    fmpz_mul(t.get(), a, c);
    fmpz_submul_ui(delta.get(), t.get(), 4);
    fmpz_mul_ui(twoA.get(), a, 2);
    fmpz_abs(t.get(), delta.get());
    if (fmpz_is_zero(delta.get()))
        fmpz_one(radicand.get()); // k stays 0: the double root −B/2A
    else
        SplitSquare(t.get(), k.get(), radicand.get());
    const bool negative = fmpz_sgn(delta.get()) < 0;

    if (fmpz_is_one(radicand.get()) || fmpz_is_zero(delta.get())) {
        if (!negative) {
            // Rational roots (−B ± k) / 2A.
            std::vector<FoundRoot> roots;
            for (int sign : {1, -1}) {
                Rational r;
                fmpz_neg(fmpq_numref(r.get()), b);
                if (sign > 0)
                    fmpz_add(fmpq_numref(r.get()), fmpq_numref(r.get()), k.get());
                else
                    fmpz_sub(fmpq_numref(r.get()), fmpq_numref(r.get()), k.get());
                fmpz_set(fmpq_denref(r.get()), twoA.get());
                fmpq_canonicalise(r.get());
                roots.push_back(RationalRoot(r.get()));
                if (fmpz_is_zero(delta.get()))
                    break;
            }
            return roots;
        }
    }

    // The numeric values, from a ball of kPrecision bits.
    arb_t s, re, im;
    arb_init(s);
    arb_init(re);
    arb_init(im);
    arb_set_fmpz(s, t.get());
    arb_sqrt(s, s, kPrecision);
    arb_div_fmpz(s, s, twoA.get(), kPrecision);
    arb_set_fmpz(re, b);
    arb_neg(re, re);
    arb_div_fmpz(re, re, twoA.get(), kPrecision);
    double values[2][2];
    if (negative) {
        values[0][0] = values[1][0] = Nearest(re);
        values[0][1] = Nearest(s);
        values[1][1] = -values[0][1];
    } else {
        arb_add(im, re, s, kPrecision);
        values[0][0] = Nearest(im);
        arb_sub(im, re, s, kPrecision);
        values[1][0] = Nearest(im);
        values[0][1] = values[1][1] = 0;
    }
    arb_clear(s);
    arb_clear(re);
    arb_clear(im);

    const std::string root = "Sqr(" + IntegerDigits(radicand.get()) + ")";
    ReduceAgainst(twoA.get(), k.get(), den.get());
    const std::string factor = fmpz_is_one(k.get()) ? std::string() : IntegerDigits(k.get());
    fmpz_neg(t.get(), b);
    std::string text;
    if (negative) {
        // The real part −B/2A without a blank; left out when 0.
        if (!fmpz_is_zero(b))
            text = FractionText(t.get(), twoA.get(), IntegerDigits);
        const std::size_t signAt = text.size();
        if (fmpz_is_one(radicand.get()))
            text += "+" + factor + "i" + DenominatorText(den.get());
        else
            text += "+ " + factor + "i" + std::string(kMiddleDot) + root + DenominatorText(den.get());
        std::string lower = text;
        lower[signAt] = '-';
        return {ExactRoot(text, values[0][0], values[0][1]),
                ExactRoot(lower, values[1][0], values[1][1])};
    }
    if (!fmpz_is_zero(b))
        text = FractionText(t.get(), twoA.get(), BlankedInteger);
    const std::size_t signAt = text.size();
    text += "+ " + (factor.empty() ? factor : factor + std::string(kMiddleDot)) + root +
            DenominatorText(den.get());
    std::string lower = text;
    lower[signAt] = '-';
    return {ExactRoot(text, values[0][0], 0), ExactRoot(lower, values[1][0], 0)};
}

} // namespace valdrex
