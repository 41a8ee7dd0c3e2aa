#pragma once

#include <string>
#include <string_view>

namespace valdrex::cli {

// AppendLine of the database file, through a module loaded with the first record: the file
// functions need the Qt libraries, and loading those costs more than most runs take to solve.
// Fails with a RuntimeFailure like AppendLine, or with ELIBACC when the module cannot be loaded.
void AppendDatabaseLine(const std::string& path, std::string_view utf8Line, bool truncateFirst);

} // namespace valdrex::cli
