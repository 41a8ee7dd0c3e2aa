#pragma once

#include "solvers/all_roots/all_roots.h"

#include <array>
#include <span>

namespace valdrex {

inline constexpr int kMaxDegree = 12;

// A polynomial with real coefficients held to about 106 bits, each as the unevaluated sum
// hi[k] + lo[k]; `inexact` tells that some sum differs from the true coefficient (by at most
// 4u² of it, u = 2^-53).
struct DoublePolynomial {
    int degree = 0;
    std::array<double, kMaxDegree + 1> hi{};
    std::array<double, kMaxDegree + 1> lo{};
    bool inexact = false;
};

// Integer coefficients below 2^60, lowest power first, each as a sum of two doubles.
DoublePolynomial ToDoublePolynomial(const long* lowestFirst, int degree);

// A complex number in doubles with plain arithmetic (std::complex checks for infinities on every
// product, which the iteration does not need). No default values: the fixed arrays of them are
// filled only as far as the degree, and zeroing them on every solve showed in profiles.
struct Complex {
    double re, im;
};
inline Complex operator+(Complex a, Complex b) {
    return {a.re + b.re, a.im + b.im};
}
inline Complex operator-(Complex a, Complex b) {
    return {a.re - b.re, a.im - b.im};
}
inline Complex operator*(Complex a, Complex b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
inline Complex operator/(Complex a, Complex b) {
    const double k = 1 / (b.re * b.re + b.im * b.im);
    return {(a.re * b.re + a.im * b.im) * k, (a.im * b.re - a.re * b.im) * k};
}
inline Complex Reciprocal(Complex b) {
    const double k = 1 / (b.re * b.re + b.im * b.im);
    return {b.re * k, -b.im * k};
}
inline double Norm(Complex a) {
    return a.re * a.re + a.im * a.im;
}

using RootApproximations = std::array<Complex, kMaxDegree>;

// The upper convex hull of the points (k, logs[k]) with finite logs: its vertices from left to
// right into `hull` (as long as `logs`), points on an edge left out; returns how many. This is
// the Newton polygon of coefficients of sizes 2^logs[k], whose edge from a to b stands for b − a
// roots of modulus about 2^((logs[a] − logs[b]) / (b − a)).
int UpperHull(std::span<const double> logs, std::span<int> hull);

// Approximations of all roots of p (degree >= 1, nonzero constant term) by the Aberth–Ehrlich
// iteration in doubles, started from the formulas for cubics and quartics, otherwise on circles
// from the Newton polygon of the coefficients. Nothing is promised about them: the inclusion
// test decides whether they are good enough. Throws StopRequested when `stop` is set between
// the runs of the iteration. The Newton steps taken come with them: the faults of this phase
// only cost steps, so the tests bound them.
struct AberthApproximations {
    RootApproximations z;
    int steps;
};
AberthApproximations AberthRoots(const DoublePolynomial& p, StopFlag stop);

// Starting points for the iteration from the formulas of the cubic and the quartic, evaluated in
// doubles: usually within a few units in the last place, so that one sweep confirms them. False
// for other degrees, and when the formulas give points that are not finite, nearly equal (the
// iteration cannot separate equal points, nor move two real points off the real axis), or of
// sizes far apart (the small ones are then inexact).
bool ClosedFormStarts(const DoublePolynomial& p, RootApproximations& z);

} // namespace valdrex
