#include "solvers/all_roots/root_order.h"

#include <algorithm>
#include <cmath>

namespace valdrex {
namespace {

bool ListedBefore(const FoundRoot& a, const FoundRoot& b) {
    const bool aReal = a.im == 0, bReal = b.im == 0;
    if (aReal != bReal)
        return aReal;
    if (a.re != b.re)
        return a.re < b.re;
    if (std::fabs(a.im) != std::fabs(b.im))
        return std::fabs(a.im) < std::fabs(b.im);
    return a.im > b.im;
}

} // namespace

void ListRoots(std::vector<FoundRoot>& roots) {
    // Roots often come in order already; sorting would still move each of them.
    if (!std::is_sorted(roots.begin(), roots.end(), ListedBefore))
        std::sort(roots.begin(), roots.end(), ListedBefore);
    for (FoundRoot& root : roots)
        if (root.multiplicity > 1)
            root.text += " (multiplicity " + std::to_string(root.multiplicity) + ")";
}

} // namespace valdrex
