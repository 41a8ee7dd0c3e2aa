#pragma once

// Exact values written as the grid's coefficient texts, so that the exact reader and the grid's
// own reading give each text the value written (see TypedEquation for the forms).

#include "solvers/all_roots/reading.h"

#include <flint/fmpq.h>

#include <optional>
#include <string>
#include <string_view>

namespace valdrex::typed {

inline constexpr char kNotANumber[] = "not a number";

// Why the exact reader refused a number: "division by zero", a limit, or kNotANumber.
std::string ReadingProblem(ExactReading reading);

// Whether a number's text is a decimal ("2.5", "1e-3") rather than a whole number.
bool IsDecimalText(std::string_view number);

// The text of q: a whole number, a decimal when `decimal` and q has one short enough, else a
// reduced fraction; long runs of zeros as powers of ten.
std::string CoefficientText(const fmpq_t q, bool decimal);

// Why the exact reader does not read `text` back as q, or nothing when it does.
std::optional<std::string> ReadBackProblem(const std::string& text, const fmpq_t q);

} // namespace valdrex::typed
