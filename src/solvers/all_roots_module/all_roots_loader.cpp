// The one FindAllRoots. The usual equations are settled in the program with machine integers;
// the big-number path, and the libraries it needs, live in a module loaded on first use, so
// that starting a program (or a batch of usual equations) does not pay for loading them. Tests,
// benchmarks and fuzzers build this file with VALDREX_ALL_ROOTS_LINKED_IN and link the
// big-number path in instead.
#include "solvers/all_roots/all_roots.h"

#ifdef VALDREX_ALL_ROOTS_LINKED_IN
#include "solvers/all_roots/big_numbers.h"
#else
#include "core/failure.h"
#include "core/platform_files.h"
#include "solvers/all_roots_module/module_entry.h"

#include <cerrno>
#endif

namespace valdrex {
namespace {

#ifdef VALDREX_ALL_ROOTS_LINKED_IN

constexpr BigNumberPath kBigNumbers = SolveWithBigNumbers;

void EndBigNumbers() {
    EndBigNumberThread();
}

#else

using Entry = decltype(&valdrex_solve_with_big_numbers);
using EndThreadEntry = decltype(&valdrex_end_all_roots_thread);

struct LoadedModule {
    Entry entry = nullptr;
    EndThreadEntry endThread = nullptr;
    std::string error;
};

LoadedModule Load() {
    ProgramModule module(kAllRootsModuleName);
    const auto entry = reinterpret_cast<Entry>(module.Symbol(kBigNumberEntryName));
    const auto endThread = reinterpret_cast<EndThreadEntry>(module.Symbol(kEndThreadEntryName));
    return {entry, endThread, module.error()};
}

const LoadedModule& Module() {
    static const LoadedModule module = Load(); // once, whichever thread asks first
    return module;
}

// Only a thread that solved has memory in the engine to free.
thread_local bool solvedOnThisThread = false;

void SolveInModule(const CoefficientTexts& coefficients, int digits, StopFlag stop,
                   AllRootsResult& result) {
    const LoadedModule& module = Module();
    if (module.entry == nullptr || module.endThread == nullptr)
        throw RuntimeFailure(ENOENT, "The all-roots module could not be loaded: " + module.error);
    solvedOnThisThread = true;
    ModuleFailure failure;
    if (!module.entry(&coefficients, digits, stop, &result, &failure))
        throw RuntimeFailure(failure.number, failure.description);
}

constexpr BigNumberPath kBigNumbers = SolveInModule;

void EndBigNumbers() {
    if (solvedOnThisThread)
        Module().endThread();
}

#endif

} // namespace

void FindAllRoots(const CoefficientTexts& coefficients, int digits, AllRootsResult& result,
                  StopFlag stop) {
    FindAllRootsWith(kBigNumbers, coefficients, digits, stop, result);
}

AllRootsResult FindAllRoots(const CoefficientTexts& coefficients, int digits, StopFlag stop) {
    AllRootsResult result;
    FindAllRoots(coefficients, digits, result, stop);
    return result;
}

void EndAllRootsThread() {
    EndBigNumbers();
}

} // namespace valdrex
