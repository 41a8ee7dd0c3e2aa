#pragma once

#include "solvers/all_roots/all_roots.h"

#include <vector>

namespace valdrex {

// Puts the roots in the listed order (real ones ascending, then the complex ones by real part,
// the upper one of a pair first) and adds the multiplicity to the text of a multiple root.
void ListRoots(std::vector<FoundRoot>& roots);

} // namespace valdrex
