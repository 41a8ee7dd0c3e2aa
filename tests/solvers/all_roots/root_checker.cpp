#include "root_checker.h"

#include <acb.h>
#include <arb_fmpz_poly.h>
#include <flint/fmpq.h>
#include <flint/fmpq_poly.h>
#include <flint/fmpz_poly_factor.h>

#include <algorithm>
#include <sstream>

namespace valdrex::testing {
namespace {

constexpr long kPrecision = 400;

struct TrueRoot {
    acb_t value;
    int multiplicity;
};

// The number in a printed part (" 1.5E-05", "-.25") as a ball, and the unit of its last
// printed place as a power of ten.
bool ParsePart(std::string part, arb_t value, long& lastPlace) {
    part.erase(std::remove(part.begin(), part.end(), ' '), part.end());
    if (part.empty())
        return false;
    long exponent = 0;
    if (const auto e = part.find('E'); e != std::string::npos) {
        exponent = std::stol(part.substr(e + 1));
        part.erase(e);
    }
    const auto point = part.find('.');
    const long decimals =
        point == std::string::npos ? 0 : static_cast<long>(part.size() - point - 1);
    lastPlace = exponent - decimals;
    std::string digits = part;
    if (point != std::string::npos)
        digits.erase(point, 1);
    fmpz_t n;
    fmpz_init(n);
    const bool ok = fmpz_set_str(n, digits.c_str(), 10) == 0;
    arb_set_fmpz(value, n);
    arb_t power;
    arb_init(power);
    arb_ui_pow_ui(power, 10, static_cast<unsigned long>(std::labs(lastPlace)), kPrecision);
    if (lastPlace < 0)
        arb_div(value, value, power, kPrecision);
    else
        arb_mul(value, value, power, kPrecision);
    arb_clear(power);
    fmpz_clear(n);
    return ok;
}

// Whether |printed − x| < 10^lastPlace for the part's text.
bool WithinLastPlace(const std::string& part, const arb_t x) {
    arb_t printed, unit;
    arb_init(printed);
    arb_init(unit);
    long lastPlace = 0;
    bool ok = ParsePart(part, printed, lastPlace);
    arb_sub(printed, printed, x, kPrecision);
    arb_abs(printed, printed);
    arb_ui_pow_ui(unit, 10, static_cast<unsigned long>(std::labs(lastPlace)), kPrecision);
    if (lastPlace < 0)
        arb_inv(unit, unit, kPrecision);
    ok = ok && arb_lt(printed, unit);
    arb_clear(printed);
    arb_clear(unit);
    return ok;
}

// The value part of a root's text split into real and imaginary texts (imaginary empty for
// a real root).
void SplitText(std::string text, std::string& re, std::string& im) {
    if (const auto m = text.find(" (multiplicity"); m != std::string::npos)
        text.erase(m);
    re = text;
    im.clear();
    if (text.empty() || text.back() != 'i')
        return;
    // The sign before the imaginary part is the last "+" or "-" not part of an exponent.
    for (std::size_t k = text.size() - 1; k-- > 0;)
        if ((text[k] == '+' || text[k] == '-') && (k == 0 || text[k - 1] != 'E')) {
            re = text.substr(0, k);
            im = text.substr(k + 1, text.size() - k - 2);
            return;
        }
    re.clear();
    im = text.substr(0, text.size() - 1);
}

class Checker {
  public:
    explicit Checker(const fmpz_poly_t p) {
        fmpz_poly_init(p_);
        fmpz_poly_set(p_, p);
        fmpz_poly_factor_t f;
        fmpz_poly_factor_init(f);
        fmpz_poly_factor_squarefree(f, p_);
        for (long i = 0; i < f->num; ++i) {
            const long d = fmpz_poly_degree(f->p + i);
            acb_ptr r = _acb_vec_init(d);
            arb_fmpz_poly_complex_roots(r, f->p + i, 0, kPrecision);
            for (long k = 0; k < d; ++k) {
                roots_.emplace_back();
                acb_init(roots_.back().value);
                acb_set(roots_.back().value, r + k);
                roots_.back().multiplicity = static_cast<int>(f->exp[i]);
            }
            _acb_vec_clear(r, d);
        }
        fmpz_poly_factor_clear(f);
    }
    ~Checker() {
        for (TrueRoot& r : roots_)
            acb_clear(r.value);
        fmpz_poly_clear(p_);
    }

    std::string Check(const AllRootsResult& result) {
        std::ostringstream faults;
        std::vector<bool> used(roots_.size());
        int total = 0;
        for (std::size_t i = 0; i < result.roots.size(); ++i) {
            const FoundRoot& found = result.roots[i];
            total += found.multiplicity;
            const std::string where = "root " + std::to_string(i + 1) + " '" + found.text + "': ";
            std::string re, im;
            SplitText(found.text, re, im);
            const bool listedReal =
                found.exact.empty() ? im.empty() : found.exact.find('i') == std::string::npos;
            if ((found.im == 0) != listedReal)
                faults << where << "real and imaginary disagree\n";
            long match = -1;
            for (std::size_t k = 0; k < roots_.size(); ++k) {
                const acb_srcptr x = roots_[k].value;
                const bool real = arb_is_zero(acb_imagref(x));
                if (used[k] || real != listedReal)
                    continue;
                if (!found.exact.empty()
                        ? Near(found, x)
                        : WithinLastPlace(re.empty() ? " 0" : re, acb_realref(x)) &&
                              (real || ImaginaryWithin(im, found.im, x))) {
                    match = static_cast<long>(k);
                    break;
                }
            }
            if (match < 0) {
                faults << where << "no true root within its printed digits\n";
                continue;
            }
            used[match] = true;
            if (roots_[match].multiplicity != found.multiplicity)
                faults << where << "multiplicity " << found.multiplicity << ", true "
                       << roots_[match].multiplicity << "\n";
            if (found.exact.find_first_of("Si") == std::string::npos && !found.exact.empty() &&
                !RationalIsRoot(found.exact))
                faults << where << "exact form is not a root\n";
            if (i > 0 && !InOrder(result.roots[i - 1], found))
                faults << where << "out of order\n";
        }
        if (total != result.degree)
            faults << "multiplicities add up to " << total << ", degree " << result.degree << "\n";
        return faults.str();
    }

  private:
    static bool InOrder(const FoundRoot& a, const FoundRoot& b) {
        if ((a.im == 0) != (b.im == 0))
            return a.im == 0;
        if (a.im == 0)
            return a.re < b.re;
        return a.re < b.re || (a.re == b.re && (a.im > 0 || -a.im < b.im));
    }

    static bool ImaginaryWithin(const std::string& im, double sign, const acb_srcptr x) {
        arb_t v;
        arb_init(v);
        arb_set(v, acb_imagref(x));
        if (sign < 0)
            arb_neg(v, v);
        const bool ok = arb_is_positive(v) && WithinLastPlace(im, v);
        arb_clear(v);
        return ok;
    }

    // An exact root's double values within a few units of the true root.
    static bool Near(const FoundRoot& found, const acb_srcptr x) {
        acb_t d;
        acb_init(d);
        acb_set_d_d(d, found.re, found.im);
        acb_sub(d, d, x, kPrecision);
        mag_t m;
        mag_init(m);
        acb_get_mag(m, d);
        const double distance = mag_get_d(m);
        mag_clear(m);
        acb_clear(d);
        return distance <= 4e-16 * std::max(1.0, std::hypot(found.re, found.im));
    }

    bool RationalIsRoot(const std::string& exact) const {
        fmpq_t r, v;
        fmpq_init(r);
        fmpq_init(v);
        const bool ok = fmpq_set_str(r, exact.c_str(), 10) == 0;
        fmpz_poly_evaluate_fmpq(v, p_, r);
        const bool zero = ok && fmpq_is_zero(v);
        fmpq_clear(r);
        fmpq_clear(v);
        return zero;
    }

    fmpz_poly_t p_;
    std::vector<TrueRoot> roots_;
};

} // namespace

CoefficientTexts TextsOf(const std::vector<long>& lowestFirst) {
    CoefficientTexts t;
    t.fill("0");
    for (std::size_t k = 0; k < lowestFirst.size(); ++k)
        t[k] = std::to_string(lowestFirst[k]);
    return t;
}

std::string CheckRoots(const std::vector<long>& lowestFirst, const AllRootsResult& result) {
    fmpz_poly_t p;
    fmpz_poly_init(p);
    for (std::size_t k = 0; k < lowestFirst.size(); ++k)
        fmpz_poly_set_coeff_si(p, static_cast<long>(k), lowestFirst[k]);
    Checker checker(p);
    fmpz_poly_clear(p);
    return checker.Check(result);
}

std::string CheckRoots(const CoefficientTexts& texts, const AllRootsResult& result) {
    // The texts here are plain decimals: their exact value through FLINT's rationals.
    fmpq_poly_t q;
    fmpq_poly_init(q);
    for (int k = 0; k < kCoefficientCount; ++k) {
        std::string t = texts[k];
        long decimals = 0;
        if (const auto point = t.find('.'); point != std::string::npos) {
            decimals = static_cast<long>(t.size() - point - 1);
            t.erase(point, 1);
        }
        fmpq_t c;
        fmpq_init(c);
        fmpz_set_str(fmpq_numref(c), t.empty() ? "0" : t.c_str(), 10);
        fmpz_ui_pow_ui(fmpq_denref(c), 10, static_cast<unsigned long>(decimals));
        fmpq_canonicalise(c);
        fmpq_poly_set_coeff_fmpq(q, k, c);
        fmpq_clear(c);
    }
    fmpz_poly_t p;
    fmpz_poly_init(p);
    fmpq_poly_get_numerator(p, q);
    Checker checker(p);
    fmpz_poly_clear(p);
    fmpq_poly_clear(q);
    return checker.Check(result);
}

} // namespace valdrex::testing
