// FindAllRoots for the programs: the usual equations are settled here with machine integers;
// the rest of the engine and the big-number libraries it needs live in a module loaded on first
// use, so that starting a program (or a batch of usual equations) does not pay for loading them.
#include "solvers/all_roots/all_roots.h"
#include "solvers/all_roots/small_grid.h"

#include "core/failure.h"
#include "core/program_module.h"
#include "solvers/all_roots_module/module_entry.h"

#include <algorithm>
#include <cerrno>
#include <mutex>

namespace valdrex {
namespace {

using Entry = decltype(&valdrex_find_all_roots);

struct LoadedModule {
    Entry entry = nullptr;
    std::string error;
};

LoadedModule Load() {
    ProgramModule module(kAllRootsModuleName, VALDREX_ALL_ROOTS_BUILT_MODULE);
    const auto entry = reinterpret_cast<Entry>(module.Symbol(kAllRootsEntryName));
    return {entry, module.error()};
}

} // namespace

void FindAllRoots(const CoefficientTexts& coefficients, int digits, AllRootsResult& result) {
    if (FindSmallGridRoots(coefficients, std::clamp(digits, 1, 30), result))
        return;
    static const LoadedModule module = Load(); // once, whichever thread asks first
    if (module.entry == nullptr)
        throw RuntimeFailure(ENOENT, "The all-roots module could not be loaded: " + module.error);
    ModuleFailure failure;
    // The engine's big-number and enclosure libraries are not safe to enter from two threads at
    // once (a batch on several cores crashed), so one solve runs at a time.
    static std::mutex oneAtATime;
    const std::lock_guard lock(oneAtATime);
    result = {};
    if (!module.entry(&coefficients, digits, &result, &failure))
        throw RuntimeFailure(failure.number, failure.description);
}

AllRootsResult FindAllRoots(const CoefficientTexts& coefficients, int digits) {
    AllRootsResult result;
    FindAllRoots(coefficients, digits, result);
    return result;
}

} // namespace valdrex
