#pragma once

#include "cli/coefficient_list.h"

#include <array>
#include <string>
#include <string_view>

namespace valdrex::cli {

// One line of batch input, read: skipped, an equation, or invalid.
struct BatchLine {
    enum class Kind { Skip, Equation, Invalid } kind = Kind::Skip;
    // For an equation: the coefficient texts, highest power first (views into the line).
    std::array<std::string_view, kMaxCoefficients> coefficients;
    int count = 0;
    std::string error; // for an invalid line
};

// Reads a line (without its line feed; a trailing carriage return is dropped): coefficient texts
// separated by blanks or tabs. Blank lines and lines whose first non-blank character is "#" are
// skipped.
void ParseBatchLine(std::string_view line, BatchLine& out);

} // namespace valdrex::cli
