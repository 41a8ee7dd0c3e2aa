#pragma once

#include "solvers/typed_equation/typed_equation.h"

namespace valdrex {

// The typed-equation reading inside the all-roots module, where FLINT and the exact reader are.
struct TypedEquationEntries {
    TypedEquation (*parse)(std::string_view utf8);
    CoefficientReading (*readCoefficient)(std::string_view text);
    std::optional<std::string> (*exactEquationText)(const CoefficientTexts& texts);
};

} // namespace valdrex

// The module's table of them. Module and program come from the same build, so the C++ types
// may cross.
extern "C" const valdrex::TypedEquationEntries* valdrex_typed_equation_entries() noexcept;
inline constexpr char kTypedEquationEntryName[] = "valdrex_typed_equation_entries";
