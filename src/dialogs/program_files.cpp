#include "dialogs/program_files.h"

#include "core/failure.h"
#include "core/platform_files.h"

namespace valdrex {

std::string HelpFilePath(std::string_view programFolder) {
    return StripTrailingSeparator(programFolder) + "/" + kAppTitle + ".hlp";
}

std::string ReadmeFilePath(std::string_view programFolder) {
    return std::string(programFolder) + "/readme.txt";
}

} // namespace valdrex
