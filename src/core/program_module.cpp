#include "core/program_module.h"

#include "core/home_folder.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace valdrex {

ProgramModule::ProgramModule(std::string_view fileName, const std::string& builtPath) {
    std::error_code ignored;
    std::filesystem::path path = std::filesystem::path(ProgramFolder()) / fileName;
    if (!std::filesystem::exists(path, ignored))
        path = builtPath;
    if (!std::filesystem::exists(path, ignored)) {
        error_ = std::string(fileName) + " not found beside the program";
        return;
    }
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr)
        error_ = dlerror();
}

void* ProgramModule::Symbol(const char* name) {
    if (handle_ == nullptr)
        return nullptr;
    void* const symbol = dlsym(handle_, name);
    if (symbol == nullptr)
        error_ = std::string(name) + " missing in the module";
    return symbol;
}

} // namespace valdrex
