#pragma once

#include "solvers/all_roots/all_roots.h"

#include <string>

namespace valdrex {

// A failure inside the module, carried back to the caller's side.
struct ModuleFailure {
    int number = 0;
    std::string description;
};

} // namespace valdrex

// The one symbol the all-roots module exports: the big-number path on *coefficients into
// *result, stopping when *stop is set (stop may be null). Returns false, with *failure filled, when
// the computation failed. Module and program come from the same build, so the C++ types may cross.
extern "C" bool valdrex_solve_with_big_numbers(const valdrex::CoefficientTexts* coefficients,
                                               int digits, valdrex::StopFlag stop,
                                               valdrex::AllRootsResult* result,
                                               valdrex::ModuleFailure* failure) noexcept;
inline constexpr char kBigNumberEntryName[] = "valdrex_solve_with_big_numbers";

// The big-number memory of the calling thread freed inside the module.
extern "C" void valdrex_end_all_roots_thread() noexcept;
inline constexpr char kEndThreadEntryName[] = "valdrex_end_all_roots_thread";
inline constexpr char kAllRootsModuleName[] = "valdrex-all-roots.so";
