#pragma once

#include "solvers/all_roots/aberth.h"

#include <array>

namespace valdrex {

// A disc proved to hold exactly one root: im == 0 exactly for a root proved real; im > 0 for the
// root of a conjugate pair in the upper half-plane, whose partner is the mirrored disc.
struct RootDisc {
    double re = 0, im = 0, radius = 0;
    double reError = 0, imError = 0; // bounds on the error of each part alone
};

struct RootDiscs {
    int count = 0; // real roots plus one per conjugate pair
    std::array<RootDisc, kMaxDegree> discs{};
};

// Proves that the roots of p lie one in each of n pairwise disjoint discs around corrected
// approximations; false when the approximations are not good enough for that. The
// approximations are first made symmetric about the real axis (nearly real ones made real,
// the others paired with their mirror images).
bool IncludeRoots(const DoublePolynomial& p, const RootApproximations& z, RootDiscs& out);

} // namespace valdrex
