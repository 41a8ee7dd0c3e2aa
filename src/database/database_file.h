#pragma once

#include "database/cp1252.h"

#include <string>
#include <string_view>

namespace valdrex {

// The database file: Windows-1252 bytes, lines ending with CR LF, opened and closed within
// each call. Every function fails with FileFailure(errno).

// Appends the line and CR LF, creating the file; truncateFirst empties it first. The line is
// written whole or not at all: a failed or short write is cut back off before failing.
void AppendLine(const std::string& path, std::string_view utf8Line, bool truncateFirst);

// Creates the file empty when it does not exist; an existing file is left untouched.
void EnsureFileExists(const std::string& path);

// The whole file, decoded; a missing file is created empty first.
std::string ReadWholeFile(const std::string& path);
// The same, as the bytes in the file.
std::string ReadFileBytes(const std::string& path);

// Replaces the file with the encoded text, nothing added. A failed save keeps the old file
// whole.
void WriteWholeFile(const std::string& path, std::string_view utf8Text);
// The same with bytes already encoded.
void WriteFileBytes(const std::string& path, std::string_view bytes);

} // namespace valdrex
