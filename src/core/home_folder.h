#pragma once

#include <string>
#include <string_view>

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

} // namespace valdrex
