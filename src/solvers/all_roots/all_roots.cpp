// The entry point. A grid of plain integers of at most 18 digits, the usual case, is solved
// without big numbers: the primitive polynomial in machine integers, the root 0 taken out,
// degree 1 and 2 written exactly (coefficients below 2^26 for degree 2), higher degrees through
// the double path with its exact questions answered in 128-bit integers. Whatever that cannot
// settle (other texts, overflow, a proof that fails) goes to the big-number path, which then
// gives the same result to the byte: the shortcut only decides how fast, never what is printed.
#include "solvers/all_roots/all_roots.h"

#include "solvers/all_roots/certification.h"
#include "solvers/all_roots/exact_forms.h"
#include "solvers/all_roots/printing.h"
#include "solvers/all_roots/reading.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <numeric>
#include <utility>

namespace valdrex {
namespace {

// The roots of the primitive polynomial c[0..n] (1 <= n <= 2, c[0] != 0, c[n] > 0).
bool AddLowDegree(const long* c, int n, int decimalDigits, RootSlots& out) {
    if (n == 1) {
        if (!Within(c[0], kExactDouble) || !Within(c[1], kExactDouble))
            return false;
        SetSmallRational(out.Next(), -c[0], c[1], decimalDigits);
        return true;
    }
    return Within(c[0], kSmallQuadraticLimit) && Within(c[1], kSmallQuadraticLimit) &&
           Within(c[2], kSmallQuadraticLimit) &&
           AddSmallQuadratic(c[2], c[1], c[0], decimalDigits, out);
}

// The machine-integer path: false when it cannot settle the equation (what it left in `result`
// is then thrown away).
bool SolveWithMachineIntegers(const CoefficientTexts& texts, int digits, StopFlag stop,
                              AllRootsResult& result) {
    std::array<long, kCoefficientCount> c{};
    long content = 0;
    for (int i = 0; i < kCoefficientCount; ++i) {
        const std::string& text = texts[i];
        if (text.empty() || (text.size() == 1 && text[0] == '0')) // most of the grid
            continue;
        if (!ReadPlainInteger(text, c[i]))
            return false;
        if (content != 1) // once 1, as it soon is, the rest cannot change it
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
    const int decimalDigits = result.decimalsAsked ? digits : 0;
    if (zeros > 0) {
        FoundRoot& zero = slots.Next();
        SetSmallRational(zero, 0, 1, decimalDigits);
        zero.multiplicity = zeros;
    }
    const int n = degree - zeros;
    bool solved = true;
    if (n <= 2) {
        solved = n == 0 || AddLowDegree(c.data() + zeros, n, decimalDigits, slots);
        slots.Finish();
    } else {
        MachineQuestions questions(c.data() + zeros, n, decimalDigits);
        solved = SolveCertified(ToDoublePolynomial(c.data() + zeros, n), digits, decimalDigits,
                                &questions, stop, slots);
        slots.Finish();
    }
    if (!solved)
        return false;
    if (zeros > 0)
        PlaceRootZero(roots);
    AddMultiplicityTexts(roots);
    result.status = AllRootsResult::Status::Solved;
    result.power = -1;
    result.limit.clear();
    result.degree = degree;
    return true;
}

// What the result told of an earlier equation goes; whether decimals are asked stays.
void StartAfresh(AllRootsResult& result) {
    AllRootsResult fresh;
    fresh.decimalsAsked = result.decimalsAsked;
    result = std::move(fresh);
}

} // namespace

void ThrowStopRequested() {
    throw StopRequested{};
}

void FindAllRootsWith(BigNumberPath bigNumbers, const CoefficientTexts& coefficients, int digits,
                      StopFlag stop, AllRootsResult& result) {
    digits = std::clamp(digits, 1, 30);
    try {
        ThrowIfStopped(stop);
        if (SolveWithMachineIntegers(coefficients, digits, stop, result))
            return;
    } catch (const StopRequested&) {
        StartAfresh(result);
        result.status = AllRootsResult::Status::Stopped;
        return;
    }
    StartAfresh(result);
    bigNumbers(coefficients, digits, stop, result);
}

} // namespace valdrex
