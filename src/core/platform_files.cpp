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

// A folder as an installation lays it out relative to the program's folder; the layout comes
// from the build's install folders, as a path relative to the programs' folder.
std::filesystem::path InstalledFolder(const std::filesystem::path& programFolder,
                                      std::string_view relative) {
    return (programFolder / relative).lexically_normal();
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

std::string ProgramDataFolder() {
    const std::filesystem::path folder = ExecutablePath().parent_path();
    if (folder.empty())
        return "";
    const std::filesystem::path installed = InstalledFolder(folder, VALDREX_INSTALLED_DATA);
    std::error_code ignored;
    return std::filesystem::is_directory(installed, ignored) ? installed.string() : folder.string();
}

ProgramModule::ProgramModule(std::string_view fileName) {
    const std::filesystem::path folder = ExecutablePath().parent_path();
    const std::filesystem::path installed = InstalledFolder(folder, VALDREX_INSTALLED_MODULES);
    std::error_code ignored;
    std::filesystem::path path = installed / fileName;
    if (!std::filesystem::exists(path, ignored))
        path = folder / fileName;
    if (folder.empty() || !std::filesystem::exists(path, ignored)) {
        error_ = std::string(fileName) + " not found in " + installed.string() +
                 " nor beside the program";
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
