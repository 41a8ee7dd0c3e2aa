#pragma once

#include "solvers/all_roots/certified_discs.h"

#include <array>

namespace valdrex {

// The double path's exact questions answered in 128-bit integers, for a primitive polynomial
// with machine-integer coefficients and a positive leading one; Unknown where a step would
// overflow or a root is too large to write without big numbers.
class MachineQuestions final : public ExactQuestions {
  public:
    MachineQuestions(const long* lowestFirst, int degree);
    Answer IsRationalRoot(long m, RootSlots& out) override;
    Answer IsQuadraticFactor(long s, long q, RootSlots& out) override;

  private:
    std::array<long, kMaxDegree + 1> c_{};
    int degree_;
};

} // namespace valdrex
