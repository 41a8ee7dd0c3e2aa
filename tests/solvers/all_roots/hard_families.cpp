#include "hard_families.h"

#include "solvers/all_roots/big_numbers.h"
#include "solvers/all_roots/flint_values.h"
#include "solvers/typed_equation/typed_equation.h"

#include <stdexcept>
#include <string>

namespace valdrex::testing {
namespace {

std::string Text(long n) {
    return std::to_string(n);
}

// The integer polynomial of a typed equation whose coefficients are whole numbers.
void FromEquation(fmpz_poly_t p, const std::string& equation) {
    const TypedEquation typed = ParseTypedEquation(equation);
    if (!typed.error.empty())
        throw std::invalid_argument(equation + ": " + typed.error);
    Rational c;
    fmpz_poly_zero(p);
    for (int k = 0; k < kCoefficientCount; ++k) {
        ReadExactNumber(typed.coefficients[static_cast<std::size_t>(k)], c.get());
        fmpz_poly_set_coeff_fmpz(p, k, fmpq_numref(c.get()));
    }
}

} // namespace

void Mignotte(fmpz_poly_t p, long n, long e) {
    FromEquation(p, "x^" + Text(n) + " - 2(10^" + Text(e) + "x - 1)^2");
}

void Kameny(fmpz_poly_t p, long n, long e) {
    FromEquation(p, "(10^" + Text(2 * e) + "x^2 - 3)^2 + 10^" + Text(2 * e) + "x^" + Text(n));
}

void TightCluster(fmpz_poly_t p, long n, long e, long shift) {
    std::string product;
    for (long k = 1; k <= n; ++k)
        product += "(10^" + Text(e) + "(x - 1) - " + Text(k) + ")";
    FromEquation(p, product + " + " + Text(shift));
}

void NearMultiple(fmpz_poly_t p, long n, long e) {
    FromEquation(p, "10^" + Text(e) + "(x - 1)^" + Text(n) + " + 1");
}

void NestedClusters(fmpz_poly_t p, long n, long e) {
    FromEquation(p, "10^" + Text(e * (n / 2)) + "(10^" + Text(2 * (e / 6)) + "(x - 1)^2 - 1)^" +
                        Text(n / 2) + " - 1");
}

void UnequalClusters(fmpz_poly_t p, long n, long e) {
    std::string product;
    for (long j = 1; j <= 3; ++j)
        product += "(10^" + Text(e * j) + "(x - 1) - " + Text(j) + ")^" + Text((n + 3 - j) / 3);
    FromEquation(p, product + " + 1");
}

void DifferentSizes(fmpz_poly_t p, long h, long e) {
    const std::string size = "10^" + Text(e);
    FromEquation(p, "(x - " + size + ")^" + Text(h) + "(" + size + "x - 1)^" + Text(h) + " + 1");
}

void SpreadRational(fmpz_poly_t p, long h, long e) {
    std::string product = "1";
    for (long k = 1; k <= h; ++k)
        product +=
            "(x - " + Text(k) + "*10^" + Text(e) + ")(10^" + Text(e) + "x - " + Text(k) + ")";
    FromEquation(p, product);
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
    fmpz_ui_pow_ui(bound.get(), 10, static_cast<unsigned long>(digits));
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
