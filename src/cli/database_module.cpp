#include "cli/database_module.h"

#include "cli/database_module_abi.h"
#include "core/failure.h"
#include "core/home_folder.h"

#include <cerrno>
#include <dlfcn.h>

namespace valdrex::cli {
namespace {

AppendDatabaseLineFunction* LoadModule() {
    const std::string path = ProgramFolder() + "/" + kDatabaseModuleFileName;
    void* const module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* const entry = module ? dlsym(module, kAppendDatabaseLineSymbol) : nullptr;
    if (!entry)
        throw RuntimeFailure(ELIBACC, dlerror());
    return reinterpret_cast<AppendDatabaseLineFunction*>(entry);
}

} // namespace

void AppendDatabaseLine(const std::string& path, std::string_view utf8Line, bool truncateFirst) {
    static AppendDatabaseLineFunction* const append = LoadModule();
    char description[256];
    if (const int number = append(path.c_str(), utf8Line.data(), utf8Line.size(),
                                  truncateFirst ? 1 : 0, description, sizeof description))
        throw RuntimeFailure(number, description);
}

} // namespace valdrex::cli
