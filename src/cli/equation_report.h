#pragma once

#include "model/main_model.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace valdrex::cli {

// What one equation gave: the model's result of its solve, the test and every error box.
struct EquationReport {
    int line = 0; // the input line number in batch mode, 0 otherwise
    SolveResult result;
    bool listsAllRoots = false;             // the all-roots method's roots go into the JSON
    const std::string* testInput = nullptr; // the tested number's text, if one was given
    std::string_view testOutput;            // P at it, empty when not evaluated
    // Every error box in order: the typing's, the test's and the solve's.
    std::span<const ErrorBox> errors;
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
