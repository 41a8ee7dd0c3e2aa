#include "hard_families.h"

#include "solvers/all_roots/flint_values.h"

namespace valdrex::testing {
namespace {

using valdrex::Integer;

void PowerOfTen(fmpz_t x, long e) {
    fmpz_set_ui(x, 10);
    fmpz_pow_ui(x, x, static_cast<unsigned long>(e));
}

// p ← p · (a x + b)
void MultiplyLinear(fmpz_poly_t p, const fmpz_t a, const fmpz_t b) {
    IntegerPolynomial f;
    fmpz_poly_set_coeff_fmpz(f.get(), 1, a);
    fmpz_poly_set_coeff_fmpz(f.get(), 0, b);
    fmpz_poly_mul(p, p, f.get());
}

void AddToCoefficient(fmpz_poly_t p, long k, const fmpz_t x) {
    Integer c;
    fmpz_poly_get_coeff_fmpz(c.get(), p, k);
    fmpz_add(c.get(), c.get(), x);
    fmpz_poly_set_coeff_fmpz(p, k, c.get());
}

} // namespace

void Mignotte(fmpz_poly_t p, long n, long e) {
    Integer a;
    PowerOfTen(a.get(), e);
    fmpz_poly_one(p);
    MultiplyLinear(p, a.get(), Integer(-1).get());
    fmpz_poly_pow(p, p, 2);
    fmpz_poly_scalar_mul_si(p, p, -2);
    AddToCoefficient(p, n, Integer(1).get());
}

void Kameny(fmpz_poly_t p, long n, long e) {
    Integer c2;
    PowerOfTen(c2.get(), 2 * e);
    fmpz_poly_zero(p);
    fmpz_poly_set_coeff_fmpz(p, 2, c2.get());
    fmpz_poly_set_coeff_si(p, 0, -3);
    fmpz_poly_pow(p, p, 2);
    AddToCoefficient(p, n, c2.get());
}

void TightCluster(fmpz_poly_t p, long n, long e, long shift) {
    Integer a, b;
    PowerOfTen(a.get(), e);
    fmpz_poly_one(p);
    for (long k = 1; k <= n; ++k) {
        fmpz_add_ui(b.get(), a.get(), static_cast<unsigned long>(k));
        fmpz_neg(b.get(), b.get());
        MultiplyLinear(p, a.get(), b.get());
    }
    AddToCoefficient(p, 0, Integer(shift).get());
}

void NearMultiple(fmpz_poly_t p, long n, long e) {
    Integer a;
    fmpz_poly_zero(p);
    fmpz_poly_set_coeff_si(p, 1, 1);
    fmpz_poly_set_coeff_si(p, 0, -1);
    fmpz_poly_pow(p, p, static_cast<unsigned long>(n));
    PowerOfTen(a.get(), e);
    fmpz_poly_scalar_mul_fmpz(p, p, a.get());
    AddToCoefficient(p, 0, Integer(1).get());
}

void NestedClusters(fmpz_poly_t p, long n, long e) {
    Integer a, b;
    PowerOfTen(a.get(), 2 * (e / 6));
    fmpz_neg(b.get(), a.get());
    fmpz_poly_one(p);
    MultiplyLinear(p, a.get(), b.get());
    MultiplyLinear(p, Integer(1).get(), Integer(-1).get()); // 10^2k (x − 1)²
    AddToCoefficient(p, 0, Integer(-1).get());
    fmpz_poly_pow(p, p, static_cast<unsigned long>(n / 2));
    PowerOfTen(a.get(), e * (n / 2));
    fmpz_poly_scalar_mul_fmpz(p, p, a.get());
    AddToCoefficient(p, 0, Integer(-1).get());
}

void UnequalClusters(fmpz_poly_t p, long n, long e) {
    Integer a, b;
    fmpz_poly_one(p);
    for (long j = 1; j <= 3; ++j) {
        PowerOfTen(a.get(), e * j);
        fmpz_add_ui(b.get(), a.get(), static_cast<unsigned long>(j));
        fmpz_neg(b.get(), b.get());
        IntegerPolynomial factor;
        fmpz_poly_one(factor.get());
        MultiplyLinear(factor.get(), a.get(), b.get()); // 10^(e·j) (x − 1) − j
        fmpz_poly_pow(factor.get(), factor.get(), static_cast<unsigned long>((n + 3 - j) / 3));
        fmpz_poly_mul(p, p, factor.get());
    }
    AddToCoefficient(p, 0, Integer(1).get());
}

void DifferentSizes(fmpz_poly_t p, long h, long e) {
    Integer a, minus;
    PowerOfTen(a.get(), e);
    fmpz_neg(minus.get(), a.get());
    fmpz_poly_one(p);
    MultiplyLinear(p, Integer(1).get(), minus.get()); // x − 10^e
    MultiplyLinear(p, a.get(), Integer(-1).get());    // 10^e x − 1
    fmpz_poly_pow(p, p, static_cast<unsigned long>(h));
    AddToCoefficient(p, 0, Integer(1).get());
}

void SpreadRational(fmpz_poly_t p, long h, long e) {
    Integer a, b, one(1);
    PowerOfTen(a.get(), e);
    fmpz_poly_one(p);
    for (long k = 1; k <= h; ++k) {
        fmpz_mul_si(b.get(), a.get(), -k);
        MultiplyLinear(p, one.get(), b.get()); // x − k·10^e
        fmpz_set_si(b.get(), -k);
        MultiplyLinear(p, a.get(), b.get()); // 10^e x − k
    }
}

void SquareFreePart(fmpz_poly_t out, const fmpz_poly_t p) {
    Polynomial common;
    fmpz_poly_derivative(common.get(), p);
    fmpz_poly_gcd(common.get(), p, common.get());
    fmpz_poly_div(out, p, common.get());
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
    PowerOfTen(bound.get(), digits);
    fmpz_poly_zero(p);
    for (long k = 0; k <= n; ++k) {
        fmpz_randm(c.get(), state, bound.get());
        if (k == n && fmpz_is_zero(c.get()))
            fmpz_one(c.get());
        if (n_randint(state, 2))
            fmpz_neg(c.get(), c.get());
        fmpz_poly_set_coeff_fmpz(p, k, c.get());
    }
}

} // namespace valdrex::testing
