#include "solvers/all_roots/quadratic_parts.h"

#include "solvers/all_roots/double_double.h"

#include <algorithm>
#include <cmath>

namespace valdrex {

namespace {

// The prime p taken out of n: p² into the square part, a single p into the free part. The
// divisor is a constant, so no division instruction is needed.
template <long p> void TakeOut(long& n, long& square, long& free) {
    while (n % (p * p) == 0) {
        n /= p * p;
        square *= p;
    }
    if (n % p == 0) {
        n /= p;
        free *= p;
    }
}

// What is left, with no prime factor up to the cube root of the number it came from: 1, p, p²
// or p·q for primes p, q.
void SplitRest(long n, long& square, long& free) {
    auto root = static_cast<long>(std::sqrt(static_cast<double>(n)));
    while (root * root > n)
        --root;
    while ((root + 1) * (root + 1) <= n)
        ++root;
    if (root * root == n)
        square *= root;
    else
        free *= n;
}

} // namespace

// Once every factor up to the cube root of what is left is taken out, what is left is 1, p, p²
// or p·q for primes p, q.
void SplitSmallSquare(long n, long& k, long& r) {
    if (n < 13 * 13 * 13) { // the usual discriminants: the primes below 13 suffice
        long square = 1, free = 1;
        TakeOut<2>(n, square, free);
        TakeOut<3>(n, square, free);
        TakeOut<5>(n, square, free);
        TakeOut<7>(n, square, free);
        TakeOut<11>(n, square, free);
        SplitRest(n, square, free);
        k = square;
        r = free;
        return;
    }
    long square = 1, free = 1;
    for (long i = 2; i * i * i <= n; i += i == 2 ? 1 : 2) {
        if (n % i != 0)
            continue;
        n /= i;
        while (n % (i * i) == 0) {
            n /= i * i;
            square *= i;
        }
        if (n % i == 0) {
            n /= i;
            square *= i;
        } else {
            free *= i;
        }
    }
    SplitRest(n, square, free);
    k = square;
    r = free;
}

QuadraticValues SmallQuadraticValues(double a, double b, double c, double delta) {
    // √|Δ| to about 106 bits by one Newton step in double-double.
    const double d = std::fabs(delta);
    const double s = std::sqrt(d);
    const DoubleDouble square = TwoProduct(s, s);
    const DoubleDouble root = FastTwoSum(s, ((d - square.hi) - square.lo) / (2 * s));
    const double twoA = 2 * a;
    const double minusB = -b;
    QuadraticValues q;
    if (delta < 0) {
        q.v[0][0] = q.v[1][0] = minusB / twoA;
        q.v[0][1] = (root.hi + root.lo) / twoA;
        q.v[1][1] = -q.v[0][1];
        return q;
    }
    // The root away from −B/2A without cancellation, the other from the product C/A.
    const double sign = minusB >= 0 ? 1 : -1;
    const DoubleDouble far = TwoSum(minusB, sign * root.hi);
    const double numerator = far.hi + (far.lo + sign * root.lo);
    const double x1 = numerator / twoA;
    const double x2 = 2 * c / numerator;
    q.v[0][0] = std::max(x1, x2);
    q.v[1][0] = std::min(x1, x2);
    return q;
}

} // namespace valdrex
