#include "solvers/all_roots_module/module_entry.h"

#include "core/failure.h"
#include "solvers/all_roots/big_numbers.h"

#include <exception>

extern "C" __attribute__((visibility("default"))) bool
valdrex_solve_with_big_numbers(const valdrex::CoefficientTexts* coefficients, int digits,
                               valdrex::StopFlag stop, valdrex::AllRootsResult* result,
                               valdrex::ModuleFailure* failure) noexcept {
    try {
        valdrex::SolveWithBigNumbers(*coefficients, digits, stop, *result);
        return true;
    } catch (const valdrex::RuntimeFailure& f) {
        *failure = {f.number(), f.description()};
    } catch (const std::exception& e) {
        *failure = {valdrex::kOverflowNumber, e.what()};
    }
    return false;
}

extern "C" __attribute__((visibility("default"))) void valdrex_end_all_roots_thread() noexcept {
    valdrex::EndBigNumberThread();
}
