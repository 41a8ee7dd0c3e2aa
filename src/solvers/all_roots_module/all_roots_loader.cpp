// FindAllRoots for the programs: the usual equations are settled here with machine integers;
// the rest of the engine and the big-number libraries it needs live in a module loaded on first
// use, so that starting a program (or a batch of usual equations) does not pay for loading them.
#include "solvers/all_roots/all_roots.h"
#include "solvers/all_roots/small_grid.h"

#include "core/failure.h"
#include "core/platform_files.h"
#include "solvers/all_roots_module/module_entry.h"

#include <algorithm>
#include <cerrno>

namespace valdrex {
namespace {

using Entry = decltype(&valdrex_find_all_roots);
using EndThreadEntry = decltype(&valdrex_end_all_roots_thread);

struct LoadedModule {
    Entry entry = nullptr;
    EndThreadEntry endThread = nullptr;
    std::string error;
};

LoadedModule Load() {
    ProgramModule module(kAllRootsModuleName);
    const auto entry = reinterpret_cast<Entry>(module.Symbol(kAllRootsEntryName));
    const auto endThread = reinterpret_cast<EndThreadEntry>(module.Symbol(kEndThreadEntryName));
    return {entry, endThread, module.error()};
}

const LoadedModule& Module() {
    static const LoadedModule module = Load(); // once, whichever thread asks first
    return module;
}

// Only a thread that solved has memory in the engine to free.
thread_local bool solvedOnThisThread = false;

} // namespace

void FindAllRoots(const CoefficientTexts& coefficients, int digits, AllRootsResult& result) {
    if (FindSmallGridRoots(coefficients, std::clamp(digits, 1, 30), result))
        return;
    const LoadedModule& module = Module();
    if (module.entry == nullptr || module.endThread == nullptr)
        throw RuntimeFailure(ENOENT, "The all-roots module could not be loaded: " + module.error);
    solvedOnThisThread = true;
    ModuleFailure failure;
    result = {};
    if (!module.entry(&coefficients, digits, &result, &failure))
        throw RuntimeFailure(failure.number, failure.description);
}

AllRootsResult FindAllRoots(const CoefficientTexts& coefficients, int digits) {
    AllRootsResult result;
    FindAllRoots(coefficients, digits, result);
    return result;
}

void EndAllRootsThread() {
    if (solvedOnThisThread)
        Module().endThread();
}

} // namespace valdrex
