#pragma once

#include "core/coefficient_text.h"
#include "core/working_polynomial.h"
#include "solvers/all_roots/all_roots.h"

#include <string>
#include <vector>

namespace valdrex {

// What the plot window draws for the grid: P and its roots, or the message shown instead.
struct PlotInput {
    std::string message; // not empty: nothing can be drawn
    Polynomial a{};      // the working polynomial, as the Test button evaluates it
    std::vector<FoundRoot> roots;
};

// Digits of the root texts the plot shows when a root is pointed at.
inline constexpr int kPlotRootDigits = 15;

// Reads the grid as it is typed. A box holding a text still being typed ("-", "1/", ".") or
// one that cannot be read gives a message naming its power.
PlotInput ReadPlotInput(const CoefficientTexts& texts);

} // namespace valdrex
