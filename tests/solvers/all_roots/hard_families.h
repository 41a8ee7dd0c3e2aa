#pragma once

#include "core/coefficient_text.h"
#include "solvers/all_roots/flint_values.h"

#include <acb.h>
#include <flint/flint.h>
#include <flint/fmpz_poly.h>

namespace valdrex::testing {

using Polynomial = IntegerPolynomial;

// The equations that are hard for root finders, scaled to integer coefficients; e is a decimal
// exponent and n the degree unless said otherwise.

// x^n − 2(10^e x − 1)²: two real roots about 10^-(e(n+2)/2) apart near 10^-e.
void Mignotte(fmpz_poly_t p, long n, long e);
// (c² x² − 3)² + c² x^n with c = 10^e: a tight pair near each of ±√3/c.
void Kameny(fmpz_poly_t p, long n, long e);
// Π_{k=1..n} (10^e x − 10^e − k) + shift: the roots 1 + k·10^-e, moved off the rationals by a
// nonzero shift of the constant term.
void TightCluster(fmpz_poly_t p, long n, long e, long shift);
// 10^e (x − 1)^n + 1: n roots on a circle of radius 10^(-e/n) about 1.
void NearMultiple(fmpz_poly_t p, long n, long e);
// 10^(e·n/2) (10^2k (x − 1)² − 1)^(n/2) − 1 with k = e/6, n even: n/2 roots within about
// 10^-(e+k) of each of 1 ± 10^-k, clusters in a cluster.
void NestedClusters(fmpz_poly_t p, long n, long e);
// Π_{j=1..3} (10^(e·j) (x − 1) − j)^m_j + 1 with m_1 + m_2 + m_3 = n as equal as may be:
// clusters of unequal widths at unequal distances from 1, so that a cluster's frame about its
// centre sees its members on circles of several radii.
void UnequalClusters(fmpz_poly_t p, long n, long e);
// (x − 10^e)^h (10^e x − 1)^h + 1: a cluster of h roots near 10^e and another near 10^-e.
void DifferentSizes(fmpz_poly_t p, long h, long e);
// Π_{k=1..h} (x − k·10^e)(10^e x − k): 2h rational roots, half huge and half tiny.
void SpreadRational(fmpz_poly_t p, long h, long e);
// p / gcd(p, p'): the polynomial the engine hands the isolation. `out` may be p.
void SquareFreePart(fmpz_poly_t out, const fmpz_poly_t p);
// The coefficients of p (degree at most 12) as the texts a user would type.
CoefficientTexts TextsOfPolynomial(const fmpz_poly_t p);
// Coefficients drawn uniformly with up to `digits` digits and a random sign, leading one
// nonzero.
void RandomPolynomial(fmpz_poly_t p, long n, long digits, flint_rand_t state);

} // namespace valdrex::testing
