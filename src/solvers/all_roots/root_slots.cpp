#include "solvers/all_roots/root_slots.h"

namespace valdrex {

FoundRoot& RootSlots::Next() {
    if (used_ == roots_.size()) {
        ++used_;
        return roots_.emplace_back();
    }
    FoundRoot& root = roots_[used_++];
    root.re = root.im = root.radius = 0;
    root.multiplicity = 1;
    root.text.clear();
    root.exact.clear();
    return root;
}

} // namespace valdrex
