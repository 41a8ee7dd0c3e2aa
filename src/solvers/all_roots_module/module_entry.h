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

// The one symbol the all-roots module exports: FindAllRoots(*coefficients, digits) into
// *result. Returns false, with *failure filled, when the computation failed. Module and
// program come from the same build, so the C++ types may cross.
extern "C" bool valdrex_find_all_roots(const valdrex::CoefficientTexts* coefficients, int digits,
                                       valdrex::AllRootsResult* result,
                                       valdrex::ModuleFailure* failure) noexcept;
inline constexpr char kAllRootsEntryName[] = "valdrex_find_all_roots";

// EndAllRootsThread() inside the module.
extern "C" void valdrex_end_all_roots_thread() noexcept;
inline constexpr char kEndThreadEntryName[] = "valdrex_end_all_roots_thread";
inline constexpr char kAllRootsModuleName[] = "valdrex-all-roots.so";
