#include "solvers/all_roots/double_path.h"

#include "solvers/all_roots/certified_discs.h"
#include "solvers/all_roots/exact_roots.h"
#include "solvers/all_roots/flint_values.h"

#include <array>
#include <cstdlib>

namespace valdrex {
namespace {

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

} // namespace

bool SolveInDoubles(const fmpz_poly_t p, int digits, bool exactForms, std::vector<FoundRoot>& out) {
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
                       exactForms ? &questions : nullptr, slots))
        return true;
    out.resize(before);
    return false;
}

} // namespace valdrex
