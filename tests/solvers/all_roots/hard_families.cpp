#include "hard_families.h"

namespace valdrex::testing {
namespace {

struct Integer {
    Integer() { fmpz_init(v); }
    Integer(const Integer&) = delete;
    Integer& operator=(const Integer&) = delete;
    ~Integer() { fmpz_clear(v); }
    fmpz_t v;
};

void PowerOfTen(fmpz_t x, long e) {
    fmpz_set_ui(x, 10);
    fmpz_pow_ui(x, x, static_cast<unsigned long>(e));
}

// p ← p · (a x + b)
void MultiplyLinear(fmpz_poly_t p, const fmpz_t a, const fmpz_t b) {
    fmpz_poly_t f;
    fmpz_poly_init(f);
    fmpz_poly_set_coeff_fmpz(f, 1, a);
    fmpz_poly_set_coeff_fmpz(f, 0, b);
    fmpz_poly_mul(p, p, f);
    fmpz_poly_clear(f);
}

void AddToCoefficient(fmpz_poly_t p, long k, const fmpz_t x) {
    Integer c;
    fmpz_poly_get_coeff_fmpz(c.v, p, k);
    fmpz_add(c.v, c.v, x);
    fmpz_poly_set_coeff_fmpz(p, k, c.v);
}

} // namespace

void Mignotte(fmpz_poly_t p, long n, long e) {
    Integer a, t;
    PowerOfTen(a.v, e);
    fmpz_poly_zero(p);
    fmpz_poly_set_coeff_si(p, n, 1);
    fmpz_mul(t.v, a.v, a.v);
    fmpz_mul_si(t.v, t.v, -2);
    AddToCoefficient(p, 2, t.v);
    fmpz_mul_si(t.v, a.v, 4);
    AddToCoefficient(p, 1, t.v);
    fmpz_set_si(t.v, -2);
    AddToCoefficient(p, 0, t.v);
}

void Kameny(fmpz_poly_t p, long n, long e) {
    Integer c2, t;
    PowerOfTen(c2.v, 2 * e);
    fmpz_poly_zero(p);
    fmpz_mul(t.v, c2.v, c2.v);
    fmpz_poly_set_coeff_fmpz(p, 4, t.v);
    fmpz_mul_si(t.v, c2.v, -6);
    fmpz_poly_set_coeff_fmpz(p, 2, t.v);
    fmpz_poly_set_coeff_si(p, 0, 9);
    AddToCoefficient(p, n, c2.v);
}

void TightCluster(fmpz_poly_t p, long n, long e, long shift) {
    Integer a, b;
    PowerOfTen(a.v, e);
    fmpz_poly_one(p);
    for (long k = 1; k <= n; ++k) {
        fmpz_add_ui(b.v, a.v, static_cast<unsigned long>(k));
        fmpz_neg(b.v, b.v);
        MultiplyLinear(p, a.v, b.v);
    }
    fmpz_set_si(b.v, shift);
    AddToCoefficient(p, 0, b.v);
}

void NearMultiple(fmpz_poly_t p, long n, long e) {
    Integer a;
    fmpz_poly_zero(p);
    fmpz_poly_set_coeff_si(p, 1, 1);
    fmpz_poly_set_coeff_si(p, 0, -1);
    fmpz_poly_pow(p, p, static_cast<unsigned long>(n));
    PowerOfTen(a.v, e);
    fmpz_poly_scalar_mul_fmpz(p, p, a.v);
    fmpz_one(a.v);
    AddToCoefficient(p, 0, a.v);
}

void DifferentSizes(fmpz_poly_t p, long h, long e) {
    Integer a, b;
    PowerOfTen(a.v, e);
    fmpz_poly_one(p);
    for (long k = 0; k < h; ++k) {
        fmpz_one(b.v);
        fmpz_neg(a.v, a.v);
        MultiplyLinear(p, b.v, a.v); // x − 10^e
        fmpz_neg(a.v, a.v);
        fmpz_set_si(b.v, -1);
        MultiplyLinear(p, a.v, b.v); // 10^e x − 1
    }
    fmpz_one(b.v);
    AddToCoefficient(p, 0, b.v);
}

void SpreadRational(fmpz_poly_t p, long h, long e) {
    Integer a, b, one;
    PowerOfTen(a.v, e);
    fmpz_one(one.v);
    fmpz_poly_one(p);
    for (long k = 1; k <= h; ++k) {
        fmpz_mul_si(b.v, a.v, -k);
        MultiplyLinear(p, one.v, b.v); // x − k·10^e
        fmpz_set_si(b.v, -k);
        MultiplyLinear(p, a.v, b.v); // 10^e x − k
    }
}

void SquareFreePart(fmpz_poly_t out, const fmpz_poly_t p) {
    Polynomial common;
    fmpz_poly_derivative(common.p, p);
    fmpz_poly_gcd(common.p, p, common.p);
    fmpz_poly_div(out, p, common.p);
}

CoefficientTexts TextsOfPolynomial(const fmpz_poly_t p) {
    CoefficientTexts texts;
    texts.fill("0");
    for (long k = 0; k <= fmpz_poly_degree(p); ++k) {
        char* digits = fmpz_get_str(nullptr, 10, p->coeffs + k);
        texts[static_cast<std::size_t>(k)] = digits;
        flint_free(digits);
    }
    return texts;
}

void RandomPolynomial(fmpz_poly_t p, long n, long digits, flint_rand_t state) {
    Integer bound, c;
    PowerOfTen(bound.v, digits);
    fmpz_poly_zero(p);
    for (long k = 0; k <= n; ++k) {
        fmpz_randm(c.v, state, bound.v);
        if (k == n && fmpz_is_zero(c.v))
            fmpz_one(c.v);
        if (n_randint(state, 2))
            fmpz_neg(c.v, c.v);
        fmpz_poly_set_coeff_fmpz(p, k, c.v);
    }
}

} // namespace valdrex::testing
