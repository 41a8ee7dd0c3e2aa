#include "solvers/all_roots_module/typed_equation_entry.h"

extern "C" __attribute__((visibility("default"))) const valdrex::TypedEquationEntries*
valdrex_typed_equation_entries() noexcept {
    static constexpr valdrex::TypedEquationEntries kEntries{
        valdrex::ParseTypedEquation, valdrex::ReadCoefficientText, valdrex::ExactEquationText};
    return &kEntries;
}
