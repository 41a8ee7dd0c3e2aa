#pragma once

namespace valdrex {

// Error-free transformations and double-double arithmetic (Dekker, Knuth), written without a
// fused multiply-add because the build keeps every product rounded on its own.
struct DoubleDouble {
    double hi = 0, lo = 0;
};

inline DoubleDouble TwoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

inline DoubleDouble FastTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

inline DoubleDouble TwoProduct(double a, double b) {
    constexpr double kSplitter = 134217729.0; // 2^27 + 1
    const double p = a * b;
    const double ca = kSplitter * a;
    const double ah = ca - (ca - a);
    const double al = a - ah;
    const double cb = kSplitter * b;
    const double bh = cb - (cb - b);
    const double bl = b - bh;
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

inline DoubleDouble operator*(DoubleDouble a, double b) {
    DoubleDouble p = TwoProduct(a.hi, b);
    p.lo += a.lo * b;
    return FastTwoSum(p.hi, p.lo);
}

inline DoubleDouble operator+(DoubleDouble a, DoubleDouble b) {
    DoubleDouble s = TwoSum(a.hi, b.hi);
    s.lo += a.lo + b.lo;
    return FastTwoSum(s.hi, s.lo);
}

inline DoubleDouble operator-(DoubleDouble a) {
    return {-a.hi, -a.lo};
}

} // namespace valdrex
