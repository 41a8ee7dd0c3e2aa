#include "core/platform_files.h"

#include <cerrno>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace valdrex {
namespace {

std::filesystem::path ExecutablePath() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::canonical("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
}

} // namespace

std::string HomeFolder() {
    const char* drive = std::getenv("HOMEDRIVE");
    const char* path = std::getenv("HOMEPATH");
    if (drive != nullptr && path != nullptr)
        return std::string(drive) + path;
    const char* home = std::getenv("HOME");
    return home != nullptr ? home : "";
}

std::string UserDataFolder(std::string_view appName) {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/')
        return StripTrailingSeparator(dataHome) + "/" + std::string(appName);
    const std::string home = HomeFolder();
    return home.empty() ? ""
                        : StripTrailingSeparator(home) + "/.local/share/" + std::string(appName);
}

std::string StripTrailingSeparator(std::string_view path) {
    if (!path.empty() && path.back() == '/')
        path.remove_suffix(1);
    return std::string(path);
}

std::string ProgramFolder() {
    return ExecutablePath().parent_path().string();
}

std::string ExecutableName() {
    return ExecutablePath().stem().string();
}

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

int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

} // namespace valdrex
