#include "solvers/all_roots/double_path.h"

#include "solvers/all_roots/decimal_text.h"
#include "solvers/all_roots/exact_roots.h"
#include "solvers/all_roots/flint_values.h"
#include "solvers/all_roots/root_inclusion.h"
#include "solvers/exact/pair_text.h"

#include <cmath>
#include <limits>

namespace valdrex {
namespace {

constexpr double kUnit = std::numeric_limits<double>::epsilon() / 2;
constexpr int kMaxBits = 60;
constexpr int kMaxDoubleDigits = 15;

DoublePolynomial ToDoubles(const fmpz_poly_t p) {
    DoublePolynomial d;
    d.degree = static_cast<int>(fmpz_poly_degree(p));
    for (int k = 0; k <= d.degree; ++k) {
        const long c = fmpz_get_si(p->coeffs + k);
        d.hi[k] = static_cast<double>(c);
        d.lo[k] = static_cast<double>(c - static_cast<long>(d.hi[k]));
    }
    return d;
}

// The whole numbers in [centre − radius, centre + radius] (the radius widened for the rounding
// of the centre): none, one (stored in `n`), or more.
enum class Whole { None, One, Many };
Whole WholeIn(double centre, double radius, long& n) {
    radius = radius * (1 + 4 * kUnit) + 4 * kUnit * std::fabs(centre);
    if (!(std::fabs(centre) + radius < 4e18))
        return Whole::Many;
    const double low = std::ceil(centre - radius);
    const double high = std::floor(centre + radius);
    if (low > high)
        return Whole::None;
    if (low < high)
        return Whole::Many;
    n = static_cast<long>(low);
    return Whole::One;
}

struct Item {
    RootDisc disc;
    bool exact = false;
};

class DoubleSolver {
  public:
    DoubleSolver(const fmpz_poly_t p, int digits, std::vector<FoundRoot>& out)
        : p_(p), digits_(digits), out_(out),
          lead_(static_cast<double>(fmpz_get_si(p->coeffs + fmpz_poly_degree(p)))) {}

    // A real disc holds a rational root m/a_n (a_n the leading coefficient) only if a_n·x is the
    // whole number m; that candidate is then checked by exact substitution.
    bool TryRational(Item& item) {
        long m = 0;
        const Whole w = WholeIn(lead_ * item.disc.re, lead_ * item.disc.radius, m);
        if (w == Whole::Many)
            return false;
        if (w == Whole::None)
            return true;
        Rational r, value;
        fmpz_set_si(fmpq_numref(r.get()), m);
        fmpz_set(fmpq_denref(r.get()), p_->coeffs + fmpz_poly_degree(p_));
        fmpq_canonicalise(r.get());
        fmpz_poly_evaluate_fmpq(value.get(), p_, r.get());
        if (fmpq_is_zero(value.get())) {
            out_.push_back(RationalRoot(r.get()));
            item.exact = true;
        }
        return true;
    }

    // Two roots x, y are those of a quadratic factor over the rationals only if a_n·(x + y) and
    // a_n·x·y are whole numbers (Gauss's lemma); the candidate is checked by exact division.
    bool TryQuadratic(Item& a, Item* b) {
        double sum, product, sumRadius, productRadius;
        const double ra = a.disc.radius;
        if (b == nullptr) {
            const double modulus = std::sqrt(Norm({a.disc.re, a.disc.im}));
            sum = 2 * a.disc.re;
            product = a.disc.re * a.disc.re + a.disc.im * a.disc.im;
            sumRadius = 2 * ra;
            productRadius = 2 * modulus * ra + ra * ra;
        } else {
            const double rb = b->disc.radius;
            sum = a.disc.re + b->disc.re;
            product = a.disc.re * b->disc.re;
            sumRadius = ra + rb;
            productRadius = std::fabs(a.disc.re) * rb + std::fabs(b->disc.re) * ra + ra * rb;
        }
        long s = 0, q = 0;
        const Whole ws = WholeIn(lead_ * sum, lead_ * sumRadius, s);
        const Whole wq = WholeIn(lead_ * product, lead_ * productRadius, q);
        if (ws == Whole::None || wq == Whole::None)
            return true;
        if (ws == Whole::Many || wq == Whole::Many)
            return false;
        IntegerPolynomial quadratic, quotient;
        fmpz_poly_set_coeff_si(quadratic.get(), 0, q);
        fmpz_poly_set_coeff_si(quadratic.get(), 1, -s);
        fmpz_poly_set_coeff_fmpz(quadratic.get(), 2, p_->coeffs + fmpz_poly_degree(p_));
        fmpz_poly_primitive_part(quadratic.get(), quadratic.get());
        if (!fmpz_poly_divides(quotient.get(), p_, quadratic.get()))
            return true;
        AddQuadraticRoots(quadratic.coefficient(2), quadratic.coefficient(1),
                          quadratic.coefficient(0), out_);
        a.exact = true;
        if (b != nullptr)
            b->exact = true;
        return true;
    }

    bool AddNumeric(const Item& item) {
        const RootDisc& d = item.disc;
        const std::optional<std::string> re = CertifiedDoubleText(d.re, d.reError, digits_);
        if (!re)
            return false;
        FoundRoot root;
        root.re = d.re;
        root.radius = d.radius;
        if (d.im == 0) {
            root.text = *re;
            out_.push_back(std::move(root));
            return true;
        }
        const std::optional<std::string> im = CertifiedDoubleText(d.im, d.imError, digits_);
        if (!im)
            return false;
        root.im = d.im;
        root.text = UpperPairText(*re, *im);
        out_.push_back(root);
        root.im = -d.im;
        root.text = LowerPairText(*re, *im);
        out_.push_back(std::move(root));
        return true;
    }

  private:
    const fmpz_poly_struct* p_;
    int digits_;
    std::vector<FoundRoot>& out_;
    double lead_;
};

bool Solve(const fmpz_poly_t p, int digits, bool exactForms, std::vector<FoundRoot>& out) {
    const DoublePolynomial d = ToDoubles(p);
    RootDiscs discs;
    if (!IncludeRoots(d, AberthRoots(d), discs))
        return false;
    std::array<Item, kMaxDegree> items{};
    for (int i = 0; i < discs.count; ++i)
        items[i].disc = discs.discs[i];
    DoubleSolver solver(p, digits, out);
    if (exactForms) {
        for (int i = 0; i < discs.count; ++i)
            if (items[i].disc.im == 0 && !solver.TryRational(items[i]))
                return false;
        for (int i = 0; i < discs.count; ++i) {
            if (items[i].exact)
                continue;
            if (items[i].disc.im != 0) {
                if (!solver.TryQuadratic(items[i], nullptr))
                    return false;
                continue;
            }
            for (int j = i + 1; j < discs.count && !items[i].exact; ++j)
                if (!items[j].exact && items[j].disc.im == 0 &&
                    !solver.TryQuadratic(items[i], &items[j]))
                    return false;
        }
    }
    for (int i = 0; i < discs.count; ++i)
        if (!items[i].exact && !solver.AddNumeric(items[i]))
            return false;
    return true;
}

} // namespace

bool SolveInDoubles(const fmpz_poly_t p, int digits, bool exactForms, std::vector<FoundRoot>& out) {
    const long degree = fmpz_poly_degree(p);
    if (degree < 1 || degree > kMaxDegree || digits > kMaxDoubleDigits ||
        std::labs(fmpz_poly_max_bits(p)) > kMaxBits || fmpz_is_zero(p->coeffs))
        return false;
    const std::size_t before = out.size();
    if (Solve(p, digits, exactForms, out))
        return true;
    out.resize(before);
    return false;
}

} // namespace valdrex
