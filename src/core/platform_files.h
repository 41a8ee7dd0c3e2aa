#pragma once

#include <string>
#include <string_view>

// Where the program, its modules and the user's files are, and writing bytes to a file.

namespace valdrex {

// HOMEDRIVE followed by HOMEPATH when both are set, else $HOME; empty when neither is.
std::string HomeFolder();

// The path without one trailing "/" ("/a/b/" -> "/a/b", "/a//" -> "/a/").
std::string StripTrailingSeparator(std::string_view path);

// The folder for the program's own data files: $XDG_DATA_HOME/<appName>, or
// ~/.local/share/<appName> when XDG_DATA_HOME is unset or not absolute; empty without a home.
std::string UserDataFolder(std::string_view appName);

// The folder of the running executable (symbolic links resolved); empty if unknown.
std::string ProgramFolder();
// The running executable's file name without its extension; empty if unknown.
std::string ExecutableName();

// The folder of the help file, the readme and their pictures: where an installation puts them
// relative to the program (share/valdrex beside its bin folder), else the program's own folder,
// as in a build tree. Empty if the program's folder is unknown.
std::string ProgramDataFolder();

// A module of the program's own, loaded on first use so that its libraries cost nothing at
// start. Looked for where an installation puts it relative to the program's real file
// (libexec/valdrex beside its bin folder), else beside that file, as in a build tree; never at a
// path fixed when the program was built, so that a program whose module is missing says so.
class ProgramModule {
  public:
    explicit ProgramModule(std::string_view fileName);

    // The named entry point, or nullptr (error() then says why).
    void* Symbol(const char* name);
    const std::string& error() const { return error_; }

  private:
    void* handle_ = nullptr;
    std::string error_;
};

// Writes every byte to the file descriptor, again after a short write or an interruption;
// returns 0 or the errno of the write that failed.
int WriteAll(int fd, std::string_view bytes);

} // namespace valdrex
