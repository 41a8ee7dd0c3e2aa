#include "solvers/approx/divisors.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace valdrex {
namespace {

TEST(Divisors, MatchesTrialOfEveryNumber) {
    for (int n = 1; n <= 2000; ++n) {
        std::vector<int> expected;
        for (int d = 1; d <= n; ++d)
            if (n % d == 0)
                expected.push_back(d);
        ASSERT_EQ(Divisors(n), expected) << n;
    }
}

TEST(Divisors, LargeNumbers) {
    const struct {
        int n;
        std::size_t count;
    } cases[] = {
        {2147483647, 2},                      // prime
        {1784742960, 1280},                   // 2^4 * 3 * 5 * 7 * 11 * 13 * 17 * 19 * 23
        {735134400, 1344},  {1073741824, 31}, // 2^30
        {2147117569, 3}, // 46337^2, a prime square: the trial must reach the root itself
    };
    for (const auto& c : cases) {
        const std::vector<int> d = Divisors(c.n);
        EXPECT_EQ(d.size(), c.count) << c.n;
        EXPECT_TRUE(std::is_sorted(d.begin(), d.end()));
        EXPECT_TRUE(std::all_of(d.begin(), d.end(), [&](int x) { return c.n % x == 0; }));
        EXPECT_EQ(d.front(), 1);
        EXPECT_EQ(d.back(), c.n);
    }
}

} // namespace
} // namespace valdrex
