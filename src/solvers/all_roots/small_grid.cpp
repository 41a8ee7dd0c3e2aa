#include "solvers/all_roots/small_grid.h"

#include "solvers/all_roots/certified_discs.h"
#include "solvers/all_roots/machine_questions.h"
#include "solvers/all_roots/plain_integer.h"
#include "solvers/all_roots/root_order.h"
#include "solvers/all_roots/small_exact_roots.h"

#include <array>
#include <cstdlib>
#include <numeric>

namespace valdrex {
namespace {

constexpr long kExactDouble = 1L << 53;

bool Below(long v, long limit) {
    return v > -limit && v < limit;
}

// The roots of the primitive polynomial c[0..n] (1 <= n <= 2, c[0] != 0, c[n] > 0).
bool AddLowDegree(const long* c, int n, RootSlots& out) {
    if (n == 1) {
        if (!Below(c[0], kExactDouble) || !Below(c[1], kExactDouble))
            return false;
        SetSmallRational(out.Next(), -c[0], c[1]);
        return true;
    }
    return Below(c[0], kSmallQuadraticLimit) && Below(c[1], kSmallQuadraticLimit) &&
           Below(c[2], kSmallQuadraticLimit) && AddSmallQuadratic(c[2], c[1], c[0], out);
}

} // namespace

bool FindSmallGridRoots(const CoefficientTexts& texts, int digits, AllRootsResult& result) {
    std::array<long, kCoefficientCount> c{};
    long content = 0;
    for (int i = 0; i < kCoefficientCount; ++i) {
        const std::string& text = texts[i];
        if (text.empty() || (text.size() == 1 && text[0] == '0')) // most of the grid
            continue;
        if (!ReadPlainInteger(text, c[i]))
            return false;
        content = std::gcd(content, c[i]);
    }
    if (content == 0)
        return false;
    int degree = kCoefficientCount - 1, zeros = 0;
    while (c[degree] == 0)
        --degree;
    while (c[zeros] == 0)
        ++zeros;
    if (degree == 0)
        return false;
    // The primitive polynomial with a positive leading coefficient.
    if (c[degree] < 0)
        content = -content;
    if (content != 1) // usually 1; a division costs more than the rest of a term
        for (int i = zeros; i <= degree; ++i)
            c[i] /= content;

    // The roots already in the result lend their texts' storage to the new ones.
    std::vector<FoundRoot>& roots = result.roots;
    RootSlots slots(roots, 0);
    if (zeros > 0) {
        FoundRoot& zero = slots.Next();
        SetSmallRational(zero, 0, 1);
        zero.multiplicity = zeros;
    }
    const int n = degree - zeros;
    bool solved = true;
    if (n <= 2) {
        solved = n == 0 || AddLowDegree(c.data() + zeros, n, slots);
        slots.Finish();
    } else {
        MachineQuestions questions(c.data() + zeros, n);
        slots.Reserve(static_cast<std::size_t>(n));
        solved = SolveCertified(ToDoublePolynomial(c.data() + zeros, n), digits, &questions, slots);
        slots.Finish();
    }
    if (!solved) {
        roots.clear();
        return false;
    }
    ListRoots(roots);
    result.status = AllRootsResult::Status::Solved;
    result.power = -1;
    result.degree = degree;
    return true;
}

} // namespace valdrex
