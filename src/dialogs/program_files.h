#pragma once

#include <string>
#include <string_view>

namespace valdrex {

// The help file in the program's data folder: the folder without one trailing "/", then
// "/Valdrex.hlp".
std::string HelpFilePath(std::string_view programFolder);
// The readme in the program's data folder: the folder as it stands, then "/readme.txt".
std::string ReadmeFilePath(std::string_view programFolder);

} // namespace valdrex
