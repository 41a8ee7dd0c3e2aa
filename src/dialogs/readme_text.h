#pragma once

#include <string>
#include <string_view>

namespace valdrex {

// A file's contents as the About window shows it: its lines (each ending at CR LF, a lone CR
// or a lone LF) joined with CR LF, without a line end after the last line.
std::string ReadmeText(std::string_view contents);
// ReadmeText of the file at `path`; empty when the file is missing or cannot be read.
std::string ReadReadmeFile(const std::string& path);

} // namespace valdrex
