#include "solvers/all_roots_module/module_entry.h"

#include "core/failure.h"

#include <exception>

extern "C" __attribute__((visibility("default"))) bool
valdrex_find_all_roots(const valdrex::CoefficientTexts* coefficients, int digits,
                       valdrex::AllRootsResult* result, valdrex::ModuleFailure* failure) noexcept {
    try {
        *result = valdrex::FindAllRoots(*coefficients, digits);
        return true;
    } catch (const valdrex::RuntimeFailure& f) {
        *failure = {f.number(), f.description()};
    } catch (const std::exception& e) {
        *failure = {valdrex::kOverflowNumber, e.what()};
    }
    return false;
}

extern "C" __attribute__((visibility("default"))) void valdrex_end_all_roots_thread() noexcept {
    valdrex::EndAllRootsThread();
}
