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

// The roots of the primitive polynomial c[0..n] (n >= 1, c[0] != 0, c[n] > 0) appended to out.
bool AddRoots(const long* c, int n, int digits, std::vector<FoundRoot>& out) {
    if (n == 1) {
        if (!Below(c[0], kExactDouble) || !Below(c[1], kExactDouble))
            return false;
        out.push_back(SmallRationalRoot(-c[0], c[1]));
        return true;
    }
    if (n == 2)
        return Below(c[0], kSmallQuadraticLimit) && Below(c[1], kSmallQuadraticLimit) &&
               Below(c[2], kSmallQuadraticLimit) && AddSmallQuadratic(c[2], c[1], c[0], out);
    MachineQuestions questions(c, n);
    return SolveCertified(ToDoublePolynomial(c, n), digits, &questions, out);
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
    for (int i = zeros; i <= degree; ++i)
        c[i] /= content;

    std::vector<FoundRoot>& roots = result.roots;
    roots.clear();
    roots.reserve(static_cast<std::size_t>(degree));
    if (zeros > 0) {
        roots.push_back(SmallRationalRoot(0, 1));
        roots.back().multiplicity = zeros;
    }
    if (degree > zeros && !AddRoots(c.data() + zeros, degree - zeros, digits, roots)) {
        roots.clear();
        return false;
    }
    ListRoots(roots);
    result.degree = degree;
    return true;
}

} // namespace valdrex
