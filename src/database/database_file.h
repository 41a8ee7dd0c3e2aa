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

// What the database viewer's Save does with a file that may have changed since it was read.
struct SaveMerge {
    bool askFirst = false; // changed other than by appending: only the user may replace it
    std::string appended;  // to write after the viewer's text: the records appended meanwhile
};

// `readBytes`: the file as the viewer read (or last wrote) it; `diskBytes`: the file now;
// `savedBytes`: what the viewer is about to write. A file that only grew keeps what it gained,
// on a line of its own.
SaveMerge MergeOnSave(std::string_view readBytes, std::string_view diskBytes,
                      std::string_view savedBytes);

} // namespace valdrex
