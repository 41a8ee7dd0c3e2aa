// The enclosure phase of the big-number path: the roots of an irreducible factor in pairwise
// disjoint Arb balls, one root in each, at any relative precision (the isolation itself, Aberth
// iteration in cluster frames with every ball proved by Rouché's theorem in ball arithmetic, is
// IsolateRoots in hard_isolation.cpp), and a part of a root rounded from its ball only when the
// whole ball rounds the same way. Where a part could sit exactly on a rounding boundary (only a
// rational part can), it is decided exactly: a real part is rational only for a factor symmetric
// about its mean, which then gives that part exactly; an imaginary part is tested against the
// boundary by exact polynomial arithmetic. So every part comes out correctly rounded, or the
// precision is raised until it does.
#include "solvers/all_roots/enclosures.h"

#include <flint/fmpq_poly.h>
#include <flint/fmpz_poly_factor.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace valdrex {
namespace {

std::string DigitsOf(const fmpz_t n) {
    const std::unique_ptr<char, void (*)(void*)> s(fmpz_get_str(nullptr, 10, n), flint_free);
    return s.get();
}

// q·10^k, exactly.
void ScaleByPowerOfTen(fmpq_t q, long k) {
    Rational power;
    fmpq_set_si(power.get(), 10, 1);
    fmpq_pow_si(power.get(), power.get(), k);
    fmpq_mul(q, q, power.get());
}

// 10^e <= q < 10^(e+1) for a positive rational q: its decimal exponent e, found exactly.
long DecimalExponent(const fmpq_t q) {
    // With 10^a <= numerator < 10^(a+1) and 10^b <= denominator < 10^(b+1), e is a − b or
    // a − b − 1.
    const long e = fmpz_flog_ui(fmpq_numref(q), 10) - fmpz_flog_ui(fmpq_denref(q), 10);
    Rational scaled;
    fmpq_set(scaled.get(), q);
    ScaleByPowerOfTen(scaled.get(), -e);
    return fmpq_cmp_ui(scaled.get(), 1) < 0 ? e - 1 : e;
}

} // namespace

IsolatedFactor::IsolatedFactor(const fmpz_poly_t f) : all_(fmpz_poly_degree(f)) {
    fmpz_poly_set(f_.get(), f);
    const long n = fmpz_poly_degree(f);
    if (n % 2 != 0)
        return;
    // b = −a_(n−1) / (n·a_n) = u/v; v^n·f((u + τ)/v) = F(τ + u) with F(y) = Σ a_k v^(n−k) y^k.
    fmpz_neg(fmpq_numref(shift_.get()), f->coeffs + n - 1);
    fmpz_mul_si(fmpq_denref(shift_.get()), f->coeffs + n, n);
    fmpq_canonicalise(shift_.get());
    IntegerPolynomial shifted;
    Integer power(1);
    for (long k = n; k >= 0; --k) {
        Integer c;
        fmpz_mul(c.get(), f->coeffs + k, power.get());
        fmpz_poly_set_coeff_fmpz(shifted.get(), k, c.get());
        fmpz_mul(power.get(), power.get(), fmpq_denref(shift_.get()));
    }
    fmpz_poly_taylor_shift(shifted.get(), shifted.get(), fmpq_numref(shift_.get()));
    for (long k = 1; k <= n; k += 2)
        if (!fmpz_is_zero(shifted.coefficient(static_cast<int>(k))))
            return;
    symmetric_ = true;
    for (long k = 0; k <= n; k += 2)
        fmpz_poly_set_coeff_fmpz(half_.get(), k / 2, shifted.coefficient(static_cast<int>(k)));
    fmpz_poly_primitive_part(half_.get(), half_.get());
}

bool IsolatedFactor::Isolate(long bits, StopFlag stop) {
    const long n = fmpz_poly_degree(f_.get());
    onAxis_.assign(static_cast<std::size_t>(n), false);
    listed_.clear();
    if (!symmetric_) {
        if (!IsolateRoots(f_.get(), bits, all_.get(), stop))
            return false;
        for (long i = 0; i < n; ++i)
            if (arb_is_zero(acb_imagref(all_[i])) || arb_is_positive(acb_imagref(all_[i])))
                listed_.push_back(i);
        return true;
    }
    // x = (u ± τ)/v for τ² = s, each root s of g.
    const long precision = bits + 32;
    Balls squares(n / 2);
    if (!IsolateRoots(half_.get(), bits + 2, squares.get(), stop))
        return false;
    Real u, v;
    arb_set_fmpz(u.get(), fmpq_numref(shift_.get()));
    arb_set_fmpz(v.get(), fmpq_denref(shift_.get()));
    long filled = 0;
    const auto place = [&](acb_srcptr tau, bool axis, bool listed) {
        acb_ptr x = all_[filled];
        acb_add_arb(x, tau, u.get(), precision);
        acb_div_arb(x, x, v.get(), precision);
        if (axis) // the real part is b exactly; the ball above only stands for it
            arb_set_fmpq(acb_realref(x), shift_.get(), precision);
        onAxis_[static_cast<std::size_t>(filled)] = axis;
        if (listed)
            listed_.push_back(filled);
        ++filled;
    };
    Balls tauBall(1);
    const acb_ptr tau = tauBall[0];
    for (long j = 0; j < n / 2; ++j) {
        acb_srcptr s = squares[j];
        if (arb_is_zero(acb_imagref(s))) {
            const bool negative = arb_is_negative(acb_realref(s));
            // s < 0: τ = ±i·√(−s) on the axis; s > 0: τ = ±√s, two real roots.
            arb_abs(acb_realref(tau), acb_realref(s));
            arb_sqrt(acb_realref(tau), acb_realref(tau), precision);
            arb_zero(acb_imagref(tau));
            if (negative)
                acb_mul_onei(tau, tau);
            place(tau, negative, true);
            acb_neg(tau, tau);
            place(tau, negative, !negative);
        } else if (arb_is_positive(acb_imagref(s))) {
            // s and its mirror: (u + √s)/v is an upper root, (u − √s)/v a lower one, and their
            // mirrors come from the mirrored s.
            acb_sqrt(tau, s, precision);
            place(tau, false, true);
            acb_neg(tau, tau);
            place(tau, false, false);
            acb_conj(tau, tau);
            place(tau, false, true);
            acb_neg(tau, tau);
            place(tau, false, false);
        }
    }
    return filled == n;
}

bool IsolatedFactor::Disjoint() const {
    const long n = all_.size();
    for (long i = 0; i < n; ++i)
        for (long j = i + 1; j < n; ++j)
            if (acb_overlaps(all_[i], all_[j]))
                return false;
    return true;
}

bool IsolatedFactor::ImaginaryPartIs(long i, const fmpq_t c, long bits) const {
    // f(t + ic) = Σ_j f^(j)(t)/j! (ic)^j = A(t) + i·B(t); the roots with imaginary part c are
    // t + ic for the common real roots t of A and B.
    const long n = fmpz_poly_degree(f_.get());
    RationalPolynomial term, a, b, scaled;
    fmpq_poly_set_fmpz_poly(term.get(), f_.get());
    Rational power, factor;
    fmpq_one(power.get());
    for (long j = 0; j <= n; ++j) {
        fmpq_poly_scalar_mul_fmpq(scaled.get(), term.get(), power.get());
        fmpq_poly_struct* part = j % 2 == 0 ? a.get() : b.get();
        if (j % 4 < 2)
            fmpq_poly_add(part, part, scaled.get());
        else
            fmpq_poly_sub(part, part, scaled.get());
        fmpq_poly_derivative(term.get(), term.get());
        fmpq_set_si(factor.get(), 1, j + 1);
        fmpq_poly_scalar_mul_fmpq(term.get(), term.get(), factor.get());
        fmpq_mul(power.get(), power.get(), c);
    }
    fmpq_poly_gcd(a.get(), a.get(), b.get());
    IntegerPolynomial common;
    fmpq_poly_get_numerator(common.get(), a.get());
    IntegerFactors parts;
    fmpz_poly_factor_squarefree(parts.get(), common.get());
    Balls point(1);
    for (long k = 0; k < parts.get()->num; ++k) {
        const fmpz_poly_struct* part = parts.get()->p + k;
        const long d = fmpz_poly_degree(part);
        Balls roots(d);
        IsolateRoots(part, bits, roots.get(), nullptr);
        for (const acb_struct& z : roots) {
            if (!arb_is_zero(acb_imagref(&z)))
                continue;
            arb_set(acb_realref(point[0]), acb_realref(&z));
            arb_set_fmpq(acb_imagref(point[0]), c, bits + 32);
            if (acb_contains(root(i), point[0]))
                return true;
        }
    }
    return false;
}

BallRounding RoundBall(const arb_t x, int digits, RoundedPart& out, fmpq_t boundary) {
    if (arb_contains_zero(x))
        return BallRounding::Unknown;
    // Rounding is monotone: when both ends of the ball round alike, so does every value between.
    Real magnitude;
    arb_abs(magnitude.get(), x);
    Float end;
    Rational low, high;
    arb_get_lbound_arf(end.get(), magnitude.get(), ARF_PREC_EXACT);
    arf_get_fmpq(low.get(), end.get());
    arb_get_ubound_arf(end.get(), magnitude.get(), ARF_PREC_EXACT);
    arf_get_fmpq(high.get(), end.get());
    RoundedPart above;
    RoundRational(low.get(), digits, out);
    RoundRational(high.get(), digits, above);
    const bool alike = CompareParts(out, above) == 0;
    out.negative = arb_is_negative(x);
    if (alike)
        return BallRounding::Rounded;
    // Otherwise the ball holds the boundary above the lower end's rounding: half a unit of its
    // last digit beyond it.
    fmpz_set_str(fmpq_numref(boundary), out.digits.c_str(), 10);
    fmpz_mul_2exp(fmpq_numref(boundary), fmpq_numref(boundary), 1);
    fmpz_add_ui(fmpq_numref(boundary), fmpq_numref(boundary), 1);
    fmpz_set_ui(fmpq_denref(boundary), 2);
    ScaleByPowerOfTen(boundary, out.exponent - digits + 1);
    if (out.negative)
        fmpq_neg(boundary, boundary);
    return BallRounding::Boundary;
}

void RoundRational(const fmpq_t q, int digits, RoundedPart& out) {
    out.digits.clear();
    if (fmpq_is_zero(q))
        return;
    out.negative = fmpq_sgn(q) < 0;
    Rational scaled;
    Integer n, remainder, top;
    fmpq_abs(scaled.get(), q);
    long exponent = DecimalExponent(scaled.get());
    // |q|·10^(digits − 1 − e) is in [10^(digits − 1), 10^digits); its nearest whole number
    // (ties to even) holds the digits.
    ScaleByPowerOfTen(scaled.get(), digits - 1 - exponent);
    fmpz_fdiv_qr(n.get(), remainder.get(), fmpq_numref(scaled.get()), fmpq_denref(scaled.get()));
    fmpz_mul_ui(remainder.get(), remainder.get(), 2);
    const int side = fmpz_cmp(remainder.get(), fmpq_denref(scaled.get()));
    if (side > 0 || (side == 0 && fmpz_is_odd(n.get())))
        fmpz_add_ui(n.get(), n.get(), 1);
    fmpz_ui_pow_ui(top.get(), 10, static_cast<unsigned long>(digits));
    if (fmpz_equal(n.get(), top.get())) { // rounded up to the next power of ten
        fmpz_divexact_ui(n.get(), n.get(), 10);
        ++exponent;
    }
    out.exponent = exponent;
    out.digits = DigitsOf(n.get());
}

double NearestDouble(const arf_t x) {
    constexpr double kMax = std::numeric_limits<double>::max();
    constexpr double kMin = std::numeric_limits<double>::denorm_min();
    const double d = arf_get_d(x, ARF_RND_NEAR);
    if (d == 0 && !arf_is_zero(x))
        return std::copysign(kMin, arf_sgn(x));
    return std::clamp(d, -kMax, kMax);
}

double NearestDouble(const fmpq_t x) {
    // Below 2^-1021 the doubles are the multiples of 2^-1074, with fewer than 53 bits in the
    // subnormal range: x·2^1074 = q + r/d is rounded once to a whole number (ties to even), since
    // rounding x to 53 bits first could put it on a midpoint it is not on.
    Integer q, r;
    fmpz_mul_2exp(q.get(), fmpq_numref(x), 1074);
    fmpz_fdiv_qr(q.get(), r.get(), q.get(), fmpq_denref(x));
    if (fmpz_bits(q.get()) <= 53) {
        fmpz_mul_2exp(r.get(), r.get(), 1);
        const int half = fmpz_cmp(r.get(), fmpq_denref(x));
        if (half > 0 || (half == 0 && fmpz_is_odd(q.get())))
            fmpz_add_ui(q.get(), q.get(), 1);
        if (fmpz_is_zero(q.get()) && !fmpq_is_zero(x)) // as for a ball: never 0 for a nonzero
            return std::copysign(std::numeric_limits<double>::denorm_min(), fmpq_sgn(x));
        return std::ldexp(fmpz_get_d(q.get()), -1074);
    }
    Float nearest;
    arf_fmpz_div_fmpz(nearest.get(), fmpq_numref(x), fmpq_denref(x), 53, ARF_RND_NEAR);
    return NearestDouble(nearest.get());
}

double DistanceBound(const arb_t x, double d) {
    Real t;
    arb_set_d(t.get(), d);
    arb_sub(t.get(), x, t.get(), 128);
    Float bound;
    arb_get_abs_ubound_arf(bound.get(), t.get(), 53);
    return std::min(arf_get_d(bound.get(), ARF_RND_UP), std::numeric_limits<double>::max());
}

} // namespace valdrex
