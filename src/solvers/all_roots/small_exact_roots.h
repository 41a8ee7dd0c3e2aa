#pragma once

#include "solvers/all_roots/all_roots.h"

#include <vector>

namespace valdrex {

// Below this bound the exact roots of quadratics are written with machine integers:
// B² − 4AC stays below 2^55 and every sum below 2^53.
inline constexpr long kSmallQuadraticLimit = 1L << 26;

// Roots written one after another into a list from position `from` on. Roots already there are
// overwritten, so that their texts keep their storage; Finish drops those left over.
class RootSlots {
  public:
    explicit RootSlots(std::vector<FoundRoot>& roots, std::size_t from)
        : roots_(roots), used_(from) {}
    FoundRoot& Next(); // a root with every field reset
    // Room for `count` more roots, so that references to the next ones stay valid.
    void Reserve(std::size_t count) { roots_.reserve(used_ + count); }
    void Finish() { roots_.resize(used_); }

  private:
    std::vector<FoundRoot>& roots_;
    std::size_t used_;
};

// n/d (d > 0, both below 2^53) reduced, as the general path writes a rational root.
void SetSmallRational(FoundRoot& root, long n, long d);

// The roots of A·x² + B·x + C (A > 0, |A|, |B|, |C| below kSmallQuadraticLimit) as the general
// path gives them, a double root once with multiplicity 2; false, with no slot taken, when the
// discriminant is too large for the double values.
bool AddSmallQuadratic(long a, long b, long c, RootSlots& out);

} // namespace valdrex
