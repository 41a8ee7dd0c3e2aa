#pragma once

#include <vector>

namespace valdrex {

// The positive divisors of n (n >= 1) in ascending order. Found from n's prime factors, so a
// number near 2^31 costs a trial division up to its square root, not a walk up to n.
std::vector<int> Divisors(int n);

} // namespace valdrex
