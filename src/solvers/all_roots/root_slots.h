#pragma once

#include "solvers/all_roots/all_roots.h"

#include <vector>

namespace valdrex {

// Roots written one after another into a list from position `from` on. Roots already there are
// overwritten, so that their texts keep their storage; Finish drops those left over.
class RootSlots {
  public:
    RootSlots(std::vector<FoundRoot>& roots, std::size_t from) : roots_(roots), used_(from) {}
    FoundRoot& Next(); // a root with every field reset
    // Room for `count` more roots, so that references to the next ones stay valid.
    void Reserve(std::size_t count) { roots_.reserve(used_ + count); }
    void Finish() { roots_.resize(used_); }

  private:
    std::vector<FoundRoot>& roots_;
    std::size_t used_;
};

} // namespace valdrex
