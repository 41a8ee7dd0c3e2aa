#pragma once

#include "core/failure.h"
#include "core/root_text.h"
#include "core/working_polynomial.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace valdrex {

inline constexpr int kMaxRoots = 12;

// Intermediate values the solvers leave behind after a run.
struct WorkingValues {
    double B = 0, C = 0, D = 0, E = 0, F = 0, G = 0, H = 0, T = 0, RZ = 0, PIZ = 0;
    std::array<double, 4> RootValues{};
};

// Everything one solver run reads and writes: the working polynomial (solvers may change it),
// the symbolic switch, and the outputs the main window shows afterwards.
struct SolveContext {
    Polynomial a{};
    bool EvSimbTmp = true;
    WorkingValues w;

    std::vector<std::string> lines;                 // lines added to the solution list, in order
    std::vector<std::string> spareLines;            // earlier lines, kept for their storage
    std::array<std::string, kMaxRoots + 1> SolText; // index 1..12; entry 0 unused
    std::string status;                             // the status label's caption
    std::vector<ErrorBox> errors;                   // trapped failures, in the order they happened
    std::string factorText;             // irreducible factor left by the rational solver
    std::string draft;                  // where a solver may build a root's text, kept between runs
    std::vector<FoundRoot> allRoots;    // every distinct root, from the all-roots method
    std::vector<FoundRoot> spareRoots;  // earlier roots, whose texts' storage the next solve reuses
    std::optional<int> zeroDenominator; // the box of a zero denominator a solver read
    bool cancelled = false;             // the run was asked to stop before it had finished

    // Stores `text` as root k's solution text and adds the line "xk =" + text.
    void AddRoot(int k, std::string_view text);

    // Empties allRoots, setting its roots aside for the next all-roots solve.
    void SetAsideAllRoots();
    // Empties lines, setting them aside for the next AddRoot calls.
    void SetAsideLines();
};

// The text of a real root from a numeric computation: single precision, NumberToStr.
std::string SingleText(double value);

} // namespace valdrex
