#include "solvers/all_roots/machine_questions.h"

#include "solvers/all_roots/small_exact_roots.h"

#include <cstdlib>
#include <numeric>

namespace valdrex {
namespace {

using Wide = __int128;

constexpr long kExactDouble = 1L << 53;

// a·b + c into `out`; false on overflow.
bool MultiplyAdd(Wide a, Wide b, Wide c, Wide& out) {
    Wide product = 0;
    return !__builtin_mul_overflow(a, b, &product) && !__builtin_add_overflow(product, c, &out);
}

bool Small(long v) {
    return v > -kSmallQuadraticLimit && v < kSmallQuadraticLimit;
}

} // namespace

MachineQuestions::MachineQuestions(const long* lowestFirst, int degree) : degree_(degree) {
    for (int k = 0; k <= degree; ++k)
        c_[k] = lowestFirst[k];
}

Answer MachineQuestions::IsRationalRoot(long m, RootSlots& out) {
    const long g = std::gcd(m, c_[degree_]);
    const long num = m / g, den = c_[degree_] / g;
    // In lowest terms a root's numerator divides the constant term, which is not 0.
    if (num == 0 || c_[0] % num != 0)
        return Answer::No;
    // p(num/den)·den^n by Horner's rule: v ← v·num + c_k·den^(n−k).
    Wide value = c_[degree_], power = 1, term = 0;
    for (int k = degree_ - 1; k >= 0; --k)
        if (__builtin_mul_overflow(power, den, &power) ||
            __builtin_mul_overflow(power, c_[k], &term) || !MultiplyAdd(value, num, term, value))
            return Answer::Unknown;
    if (value != 0)
        return Answer::No;
    if (std::labs(num) >= kExactDouble || den >= kExactDouble)
        return Answer::Unknown;
    SetSmallRational(out.Next(), num, den);
    return Answer::Yes;
}

Answer MachineQuestions::IsQuadraticFactor(long s, long q, RootSlots& out) {
    const long g = std::gcd(std::gcd(c_[degree_], s), q);
    const long a = c_[degree_] / g, b = -s / g, c = q / g;
    // Long division by the primitive quadratic: each step is exact when it divides.
    std::array<Wide, kMaxDegree + 1> r{};
    for (int k = 0; k <= degree_; ++k)
        r[k] = c_[k];
    for (int k = degree_; k >= 2; --k) {
        if (r[k] % a != 0)
            return Answer::No;
        const Wide step = -(r[k] / a);
        if (!MultiplyAdd(step, b, r[k - 1], r[k - 1]) || !MultiplyAdd(step, c, r[k - 2], r[k - 2]))
            return Answer::Unknown;
    }
    if (r[1] != 0 || r[0] != 0)
        return Answer::No;
    if (!Small(a) || !Small(b) || !Small(c) || !AddSmallQuadratic(a, b, c, out))
        return Answer::Unknown;
    return Answer::Yes;
}

} // namespace valdrex
