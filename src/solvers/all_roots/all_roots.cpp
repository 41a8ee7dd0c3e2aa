#include "solvers/all_roots/all_roots.h"

namespace valdrex {

AllRootsResult FindAllRoots(const CoefficientTexts&, int) {
    return {};
}

} // namespace valdrex
