#pragma once

#include <string>

namespace valdrex {

// "Version " + major + "." + minor + revision + " for Win-32 systems": there is no point
// between minor and revision, so 1.3.0 reads "Version 1.30 ...".
std::string VersionText(int major, int minor, int revision);
// The comments, a blank line, "Realized by " and the legal notice, lines ending with CR LF.
std::string CommentText();
// VersionText of the version this program was built as.
std::string ProgramVersionText();

} // namespace valdrex
