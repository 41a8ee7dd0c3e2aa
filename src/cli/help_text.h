#pragma once

#include <string>

namespace valdrex::cli {

std::string HelpText();
// "valdrex-solve 1.3.0".
std::string VersionText();

} // namespace valdrex::cli
