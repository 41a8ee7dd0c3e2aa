#pragma once

#include <string>
#include <string_view>

namespace valdrex {

// The help file beside the program: the folder without one trailing "/", then "/Valdrex.hlp".
std::string HelpFilePath(std::string_view programFolder);
// The readme beside the program: the folder as it stands, then "/readme.txt".
std::string ReadmeFilePath(std::string_view programFolder);

} // namespace valdrex
