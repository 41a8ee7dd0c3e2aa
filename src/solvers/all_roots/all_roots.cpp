#include "solvers/all_roots/all_roots.h"

#include "solvers/all_roots/arb_roots.h"
#include "solvers/all_roots/double_path.h"
#include "solvers/all_roots/exact_polynomial.h"
#include "solvers/all_roots/exact_roots.h"
#include "solvers/all_roots/general_path.h"
#include "solvers/all_roots/root_order.h"
#include "solvers/all_roots/small_grid.h"

#include <flint/flint.h>
#include <flint/fmpz_poly_factor.h>

#include <algorithm>

namespace valdrex {
namespace {

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
void AddByFactors(const fmpz_poly_t p, int digits, std::vector<FoundRoot>& out) {
    fmpz_poly_factor_t factors;
    fmpz_poly_factor_init(factors);
    fmpz_poly_factor(factors, p);
    for (long i = 0; i < factors->num; ++i) {
        const fmpz_poly_struct* f = factors->p + i;
        const int multiplicity = static_cast<int>(factors->exp[i]);
        if (AddLowDegree(f, multiplicity, out))
            continue;
        const std::size_t first = out.size();
        if (!SolveInDoubles(f, digits, false, out)) {
            std::vector<FoundRoot> roots = ArbRoots(f, digits);
            out.insert(out.end(), roots.begin(), roots.end());
        }
        for (std::size_t k = first; k < out.size(); ++k)
            out[k].multiplicity = multiplicity;
    }
    fmpz_poly_factor_clear(factors);
}

// The general path: exact reading into FLINT, then degree 1 and 2 exactly, the double path, or
// the factorisation. False when there is nothing to solve (a fault in the texts, a constant).
bool SolveExactly(const CoefficientTexts& coefficients, int digits, AllRootsResult& result) {
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
        !SolveInDoubles(p.get(), digits, true, roots))
        AddByFactors(p.get(), digits, roots);
    return true;
}

} // namespace

AllRootsResult FindAllRootsWithBigNumbers(const CoefficientTexts& coefficients, int digits) {
    AllRootsResult result;
    if (SolveExactly(coefficients, std::clamp(digits, 1, 30), result))
        ListRoots(result.roots);
    return result;
}

void FindAllRoots(const CoefficientTexts& coefficients, int digits, AllRootsResult& result) {
    if (!FindSmallGridRoots(coefficients, std::clamp(digits, 1, 30), result))
        result = FindAllRootsWithBigNumbers(coefficients, digits);
}

AllRootsResult FindAllRoots(const CoefficientTexts& coefficients, int digits) {
    AllRootsResult result;
    FindAllRoots(coefficients, digits, result);
    return result;
}

void EndAllRootsThread() {
    flint_cleanup();
}

} // namespace valdrex
