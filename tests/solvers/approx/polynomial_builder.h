#pragma once

#include "solvers/exact/solution_list.h"

#include <initializer_list>

namespace valdrex {

// The working polynomial with its coefficients given as the equation is written, the highest
// power first: FromHighest({1, -6, 11, -6}) is x^3 - 6x^2 + 11x - 6.
inline Polynomial FromHighest(std::initializer_list<double> coefficients) {
    Polynomial a{};
    int power = static_cast<int>(coefficients.size()) - 1;
    for (double c : coefficients)
        a[power--] = c;
    return a;
}

inline SolveContext ContextFor(const Polynomial& a) {
    SolveContext ctx;
    ctx.a = a;
    return ctx;
}

} // namespace valdrex
