#pragma once

namespace valdrex {

// n = k²·r with r free of squares, for 0 < n < 2^62.
void SplitSmallSquare(long n, long& k, long& r);

// The roots' values in doubles, [root][real part, imaginary part], the "+" root first.
struct QuadraticValues {
    double v[2][2] = {};
};

// The values for A·x² + B·x + C with discriminant Δ (not a square when positive), each of A, B,
// C and Δ exact in a double (|Δ| and |B| below 2^53, |A| below 2^52, |C| below 2^51).
QuadraticValues SmallQuadraticValues(double a, double b, double c, double delta);

} // namespace valdrex
