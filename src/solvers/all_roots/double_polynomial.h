#pragma once

#include <array>

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

// A complex number in doubles with plain arithmetic (std::complex checks for infinities on every
// product, which the iteration does not need).
struct Complex {
    double re = 0, im = 0;
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

} // namespace valdrex
