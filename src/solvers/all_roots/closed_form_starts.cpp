#include "solvers/all_roots/closed_form_starts.h"

#include <cmath>

namespace valdrex {
namespace {

constexpr double kHalfSqrt3 = 0.8660254037844386;
// Points closer than this, relative to their size, go back to the general starting points.
constexpr double kApart = 1e-6;
// So do points of sizes further apart than this: the formulas then lose the small roots'
// digits to cancellation, and may give two real points for a complex pair.
constexpr double kSpread = 1e4;

struct Cubic {
    Complex t[3];
};

// The roots of t³ + P·t + Q, the largest real one first.
Cubic DepressedCubic(double P, double Q) {
    const double halfQ = Q / 2, thirdP = P / 3;
    const double D = halfQ * halfQ + thirdP * thirdP * thirdP;
    if (D > 0) {
        // One real root; the cube root of the larger sum avoids cancellation.
        const double a = -std::copysign(std::cbrt(std::fabs(halfQ) + std::sqrt(D)), Q);
        const double b = a != 0 ? -thirdP / a : 0;
        const Complex pair{-(a + b) / 2, kHalfSqrt3 * (a - b)};
        return {{{a + b, 0}, pair, {pair.re, -pair.im}}};
    }
    // Three real roots: 2r·cos(φ/3 − 2πk/3).
    const double r = std::sqrt(-thirdP);
    const double cosine = std::fmax(-1.0, std::fmin(1.0, -halfQ / (r * r * r)));
    const double third = std::acos(cosine) / 3;
    const double c = std::cos(third), s = std::sin(third);
    return {
        {{2 * r * c, 0}, {r * (-c + 2 * kHalfSqrt3 * s), 0}, {r * (-c - 2 * kHalfSqrt3 * s), 0}}};
}

// The roots of y² + B·y + C into z[0] and z[1].
void Quadratic(double B, double C, Complex* z) {
    const double disc = B * B - 4 * C;
    if (disc >= 0) {
        const double y = -(B + std::copysign(std::sqrt(disc), B)) / 2;
        z[0] = {y, 0};
        z[1] = {y != 0 ? C / y : 0, 0};
        return;
    }
    const double im = std::sqrt(-disc) / 2;
    z[0] = {-B / 2, im};
    z[1] = {-B / 2, -im};
}

void CubicStarts(const DoublePolynomial& p, RootApproximations& z) {
    const double b = p.hi[2] / p.hi[3], c = p.hi[1] / p.hi[3], d = p.hi[0] / p.hi[3];
    const double shift = b / 3;
    const Cubic roots = DepressedCubic(c - b * shift, (2 * b * b / 27 - c / 3) * b + d);
    for (int i = 0; i < 3; ++i)
        z[i] = {roots.t[i].re - shift, roots.t[i].im};
}

// Ferrari: with x = y − b/4 the quartic is y⁴ + p·y² + q·y + r, and for a root m > 0 of the
// resolvent m³ + p·m² + (p²/4 − r)·m − q²/8 it splits into y² ∓ √(2m)·y + p/2 + m ± q/(2√(2m)).
bool QuarticStarts(const DoublePolynomial& poly, RootApproximations& z) {
    const double a = poly.hi[4];
    const double b = poly.hi[3] / a, c = poly.hi[2] / a, d = poly.hi[1] / a, e = poly.hi[0] / a;
    const double shift = b / 4, bb = b * b;
    const double p = c - 3 * bb / 8;
    const double q = d - b * c / 2 + bb * b / 8;
    const double r = e - b * d / 4 + bb * c / 16 - 3 * bb * bb / 256;
    if (q == 0) {
        Complex w[2];
        Quadratic(p, r, w); // roots in y²
        for (int k = 0; k < 2; ++k) {
            // The principal square root of w[k], and its negative.
            const double modulus = std::sqrt(Norm(w[k]));
            const double re = std::sqrt((modulus + w[k].re) / 2);
            const double im = std::copysign(std::sqrt((modulus - w[k].re) / 2), w[k].im);
            z[2 * k] = {re - shift, im};
            z[2 * k + 1] = {-re - shift, -im};
        }
        return true;
    }
    const double P = -p * p / 12 - r;
    const double Q = (-p * p / 108 + r / 3) * p - q * q / 8;
    const double m = DepressedCubic(P, Q).t[0].re - p / 3;
    if (!(m > 0))
        return false;
    const double root2m = std::sqrt(2 * m);
    const double offset = q / (2 * root2m);
    Quadratic(-root2m, p / 2 + m + offset, &z[0]);
    Quadratic(root2m, p / 2 + m - offset, &z[2]);
    for (int i = 0; i < 4; ++i)
        z[i].re -= shift;
    return true;
}

// Finite, not nearly equal, and of like size.
bool Usable(const RootApproximations& z, int n) {
    double smallest = INFINITY, largest = 0;
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(z[i].re) || !std::isfinite(z[i].im))
            return false;
        for (int j = 0; j < i; ++j)
            if (!(Norm(z[i] - z[j]) > kApart * kApart * std::fmax(Norm(z[i]), Norm(z[j]))))
                return false;
        smallest = std::fmin(smallest, Norm(z[i]));
        largest = std::fmax(largest, Norm(z[i]));
    }
    return largest <= kSpread * kSpread * smallest;
}

} // namespace

bool ClosedFormStarts(const DoublePolynomial& p, RootApproximations& z) {
    if (p.degree == 3)
        CubicStarts(p, z);
    else if (p.degree != 4 || !QuarticStarts(p, z))
        return false;
    return Usable(z, p.degree);
}

} // namespace valdrex
