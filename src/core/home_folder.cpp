#include "core/home_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

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

} // namespace valdrex
