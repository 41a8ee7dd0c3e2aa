// FindAllRoots for the programs: the engine and the big-number libraries it needs live in a
// module loaded on first use, so that starting a program that never asks for all roots does not
// pay for loading them.
#include "solvers/all_roots/all_roots.h"

#include "core/failure.h"
#include "core/program_module.h"
#include "solvers/all_roots_module/module_entry.h"

#include <cerrno>

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

AllRootsResult FindAllRoots(const CoefficientTexts& coefficients, int digits) {
    static const LoadedModule module = Load(); // once, whichever thread asks first
    if (module.entry == nullptr)
        throw RuntimeFailure(ENOENT, "The all-roots module could not be loaded: " + module.error);
    AllRootsResult result;
    ModuleFailure failure;
    if (!module.entry(&coefficients, digits, &result, &failure))
        throw RuntimeFailure(failure.number, failure.description);
    return result;
}

} // namespace valdrex
