#include "solvers/all_roots/exact_polynomial.h"

#include "solvers/all_roots/exact_number.h"
#include "solvers/all_roots/plain_integer.h"

#include <array>

namespace valdrex {

namespace {

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

} // namespace

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

} // namespace valdrex
