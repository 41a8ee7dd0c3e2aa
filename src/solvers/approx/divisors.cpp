#include "solvers/approx/divisors.h"

#include <algorithm>
#include <cstddef>

namespace valdrex {

std::vector<int> Divisors(int n) {
    std::vector<int> divisors{1};
    long long rest = n;
    const auto takeFactor = [&](long long prime) {
        const std::size_t count = divisors.size();
        long long power = 1;
        while (rest % prime == 0) {
            rest /= prime;
            power *= prime;
            for (std::size_t i = 0; i < count; ++i)
                divisors.push_back(static_cast<int>(divisors[i] * power));
        }
    };
    takeFactor(2);
    for (long long candidate = 3; candidate * candidate <= rest; candidate += 2)
        takeFactor(candidate);
    if (rest > 1)
        takeFactor(rest);
    std::sort(divisors.begin(), divisors.end());
    return divisors;
}

} // namespace valdrex
