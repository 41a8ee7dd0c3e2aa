// FindAllRoots for the programs: the engine and the big-number libraries it needs live in a
// module loaded on first use, so that starting a program that never asks for all roots does not
// pay for loading them.
#include "solvers/all_roots/all_roots.h"

#include "core/failure.h"
#include "solvers/all_roots_module/module_entry.h"

#include <dlfcn.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace valdrex {
namespace {

using Entry = decltype(&valdrex_find_all_roots);

struct LoadedModule {
    Entry entry = nullptr;
    std::string error;
};

// Beside the program's real file (installed, the programs and the module share a folder), else
// where this build made it.
LoadedModule Load() {
    std::error_code ignored;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ignored);
    LoadedModule loaded;
    for (const std::filesystem::path& path :
         {program.parent_path() / kAllRootsModuleName,
          std::filesystem::path(VALDREX_ALL_ROOTS_BUILT_MODULE)}) {
        if (!std::filesystem::exists(path, ignored))
            continue;
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            loaded.error = dlerror();
            return loaded;
        }
        loaded.entry = reinterpret_cast<Entry>(dlsym(module, kAllRootsEntryName));
        if (loaded.entry == nullptr)
            loaded.error = std::string(kAllRootsEntryName) + " missing in " + path.string();
        return loaded;
    }
    loaded.error = std::string(kAllRootsModuleName) + " not found beside the program";
    return loaded;
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
