#include "solvers/all_roots/arb_roots.h"

#include "solvers/all_roots/decimal_text.h"
#include "solvers/all_roots/flint_values.h"
#include "solvers/all_roots/nearest_double.h"
#include "solvers/exact/pair_text.h"

#include <acb.h>
#include <arb_fmpz_poly.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>

namespace valdrex {
namespace {

// Beyond this precision a real part still holding 0 is printed as 0: it is then below 2^-8000
// of the root.
constexpr long kMaxPrecision = 8192;

class Balls {
  public:
    explicit Balls(long n) : n_(n), v_(_acb_vec_init(n)) {}
    Balls(const Balls&) = delete;
    Balls& operator=(const Balls&) = delete;
    ~Balls() { _acb_vec_clear(v_, n_); }
    acb_ptr get() { return v_; }
    acb_srcptr operator[](long i) const { return v_ + i; }

  private:
    long n_;
    acb_ptr v_;
};

// Isolating balls for the roots of p. An even p = g(x²) is solved through g, so that roots on
// the imaginary axis come out with a real part of exactly 0.
void Isolate(const fmpz_poly_t p, long precision, Balls& out) {
    const long n = fmpz_poly_degree(p);
    bool even = n % 2 == 0 && n >= 4;
    for (long k = 1; even && k <= n; k += 2)
        even = fmpz_is_zero(p->coeffs + k);
    if (!even) {
        arb_fmpz_poly_complex_roots(out.get(), p, 0, precision);
        return;
    }
    IntegerPolynomial g;
    for (long k = 0; k <= n; k += 2)
        fmpz_poly_set_coeff_fmpz(g.get(), k / 2, p->coeffs + k);
    Balls squares(n / 2);
    arb_fmpz_poly_complex_roots(squares.get(), g.get(), 0, precision);
    for (long i = 0; i < n / 2; ++i) {
        acb_ptr x = out.get() + 2 * i;
        const acb_srcptr y = squares[i];
        if (arb_is_zero(acb_imagref(y)) && arb_is_negative(acb_realref(y))) {
            arb_zero(acb_realref(x));
            arb_neg(acb_imagref(x), acb_realref(y));
            arb_sqrt(acb_imagref(x), acb_imagref(x), precision);
        } else {
            acb_sqrt(x, y, precision);
        }
        acb_neg(x + 1, x);
    }
}

// The ball's value printed with `digits` digits, each proved, or nothing.
std::optional<std::string> PartText(const arb_t x, int digits, long precision) {
    if (arb_contains_zero(x))
        return std::nullopt;
    // |x| < 2^bits puts its first digit at about bits·log10(2); the loop below corrects by one.
    const long bits = arf_abs_bound_lt_2exp_si(arb_midref(x));
    long exponent = static_cast<long>(std::floor((bits - 0.5) * 0.30102999566398120));
    arb_t scaled, power;
    arb_init(scaled);
    arb_init(power);
    Integer n;
    std::optional<std::string> text;
    arf_t bound;
    arf_init(bound);
    for (int attempt = 0; attempt < 4 && !text; ++attempt) {
        const long unit = exponent - digits + 1;
        arb_ui_pow_ui(power, 10, static_cast<unsigned long>(unit < 0 ? -unit : unit),
                      precision + 64);
        if (unit < 0)
            arb_mul(scaled, x, power, precision + 64);
        else
            arb_div(scaled, x, power, precision + 64);
        arf_get_fmpz(n.get(), arb_midref(scaled), ARF_RND_NEAR);
        const std::string digitsText = [&] {
            const std::unique_ptr<char, void (*)(void*)> s(fmpz_get_str(nullptr, 10, n.get()),
                                                           flint_free);
            return std::string(s.get()[0] == '-' ? s.get() + 1 : s.get());
        }();
        if (static_cast<int>(digitsText.size()) > digits) {
            ++exponent;
            continue;
        }
        if (static_cast<int>(digitsText.size()) < digits) {
            --exponent;
            continue;
        }
        arb_sub_fmpz(scaled, scaled, n.get(), precision + 64);
        arb_get_abs_ubound_arf(bound, scaled, 64);
        if (arf_cmp_si(bound, 1) < 0)
            text = DecimalText(fmpz_sgn(n.get()) < 0, digitsText, exponent);
        else
            break;
    }
    arf_clear(bound);
    arb_clear(scaled);
    arb_clear(power);
    return text;
}

double Nearest(const arb_t x) {
    return NearestDouble(arb_midref(x));
}

// Upper bound on |x − d| over the ball.
double DistanceBound(const arb_t x, double d) {
    arb_t t;
    arb_init(t);
    arb_set_d(t, d);
    arb_sub(t, x, t, 128);
    arf_t bound;
    arf_init(bound);
    arb_get_abs_ubound_arf(bound, t, 53);
    const double result =
        std::min(arf_get_d(bound, ARF_RND_UP), std::numeric_limits<double>::max());
    arf_clear(bound);
    arb_clear(t);
    return result;
}

// The roots from one set of balls, or false when some digit is not yet proved.
bool Print(const Balls& balls, long n, int digits, long precision, std::vector<FoundRoot>& out) {
    const bool last = precision >= kMaxPrecision;
    long reals = 0, uppers = 0;
    for (long i = 0; i < n; ++i) {
        const acb_srcptr r = balls[i];
        FoundRoot root;
        root.re = Nearest(acb_realref(r));
        root.radius = DistanceBound(acb_realref(r), root.re);
        std::optional<std::string> re = arb_is_zero(acb_realref(r))
                                            ? std::optional<std::string>("")
                                            : PartText(acb_realref(r), digits, precision);
        if (arb_is_zero(acb_imagref(r))) {
            if (!re)
                return false;
            root.text = re->empty() ? " 0" : *re;
            out.push_back(std::move(root));
            ++reals;
            continue;
        }
        if (!arb_is_positive(acb_imagref(r)))
            continue;
        if (!re && last && arb_contains_zero(acb_realref(r)))
            re = "";
        const std::optional<std::string> im = PartText(acb_imagref(r), digits, precision);
        if (!re || !im)
            return false;
        root.im = Nearest(acb_imagref(r));
        root.radius += DistanceBound(acb_imagref(r), root.im);
        root.text = UpperPairText(*re, *im);
        out.push_back(root);
        root.im = -root.im;
        root.text = LowerPairText(*re, *im);
        out.push_back(std::move(root));
        ++uppers;
    }
    return reals + 2 * uppers == n;
}

} // namespace

std::vector<FoundRoot> ArbRoots(const fmpz_poly_t p, int digits) {
    const long n = fmpz_poly_degree(p);
    Balls balls(n);
    std::vector<FoundRoot> out;
    for (long precision = static_cast<long>(digits * 3.33) + 32;; precision *= 2) {
        precision = std::min(precision, kMaxPrecision);
        Isolate(p, precision, balls);
        out.clear();
        if (Print(balls, n, digits, precision, out) || precision >= kMaxPrecision)
            return out;
    }
}

} // namespace valdrex
