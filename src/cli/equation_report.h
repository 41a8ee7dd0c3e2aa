#pragma once

#include "core/failure.h"
#include "core/working_polynomial.h"
#include "solvers/all_roots/all_roots.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace valdrex::cli {

// What the main window shows after one solve, as views into the texts of whoever solved it.
struct EquationReport {
    int line = 0; // the input line number in batch mode, 0 otherwise
    std::string_view equation;
    std::span<const std::string> lines;   // the solution list
    std::span<const std::string> solText; // the solution texts in index order, empty ones included
    std::string_view status;
    std::string_view factor;
    const Polynomial* factorCoefficients = nullptr;   // the rational method's factor, else null
    const std::vector<FoundRoot>* allRoots = nullptr; // the all-roots method's roots, else null
    const std::string* testInput = nullptr;           // the tested number's text, if one was given
    std::string_view testOutput;                      // P at it, empty when not evaluated
    std::span<const ErrorBox> errors;
    std::string_view record; // the database record line, without CR LF
};

// Plain text for standard output: the equation, the solution lines, the status, the irreducible
// factor and the test point, one per line, the empty ones left out.
void AppendPlainReport(std::string& out, const EquationReport& report);

// The error boxes' texts for standard error, one per line ("line N: " first in batch mode).
void AppendErrorBoxTexts(std::string& err, const EquationReport& report);

// One JSON object on one line.
void AppendJsonReport(std::string& out, const EquationReport& report);

// One JSON object to `out`, or the plain text to `out` and the error boxes' texts to `err`.
void AppendReport(std::string& out, std::string& err, bool json, const EquationReport& report);

// The JSON object of an invalid batch line: {"line": N, "error": "..."}.
void AppendJsonInvalidLine(std::string& out, int line, std::string_view error);

} // namespace valdrex::cli
