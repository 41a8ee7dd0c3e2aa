#pragma once

namespace valdrex {

// Greatest common divisor by Euclid's remainders on the absolute values:
// Gcd(n, 0) = |n|, Gcd(0, 0) = 0. Works on whole-valued and other Doubles alike.
double Gcd(double a, double b);
// |a * b| / Gcd(a, b) in Doubles; Lcm(0, n) = 0.
double Lcm(double a, double b);

} // namespace valdrex
