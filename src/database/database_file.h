#pragma once

#include "database/cp1252.h"
#include "database/locked_file.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace valdrex {

// The database file: Windows-1252 bytes, lines ending with CR LF, opened and closed within
// each call (links followed as OpenFollowingTrustedLinks does, each write under the file's
// lock). Every function fails with FileFailure(errno), or a RuntimeFailure naming a link it will
// not follow.

// Appends lines to the file, creating it, each line and CR LF under the file's lock, written
// whole or not at all: a failed or short write is cut back off before failing, and what a
// writer killed while it wrote left of a line is taken back by the next. The file stays open
// from one line to the next, so that a run saving many records opens it once.
class LineAppender {
  public:
    explicit LineAppender(std::string path) : path_(std::move(path)) {}

    void Append(std::string_view utf8Line);

  private:
    void Open();

    std::string path_;
    std::optional<LockedFile> file_;
    bool readable_ = true; // whether the descriptor can read the file's last byte
};

// Appends the line and CR LF, as LineAppender does; truncateFirst replaces the file with the
// line and CR LF instead, as a replace does (below).
void AppendLine(const std::string& path, std::string_view utf8Line, bool truncateFirst);

// Creates the file empty when it does not exist; an existing file is left untouched.
void EnsureFileExists(const std::string& path);

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

// A text given piece by piece: each call returns the next piece, an empty one at the end.
using ByteChunks = std::function<std::string_view()>;

// The file as a writer last read or wrote it.
struct SeenFile {
    std::uint64_t length = 0;
    // Its bytes (`length` of them, in pieces); none when the user chose to replace whatever the
    // first `length` bytes now are.
    ByteChunks bytes;
};

struct ReplaceOutcome {
    // Nothing was written: the file no longer begins with the seen bytes.
    bool changedOtherwise = false;
    std::uint64_t diskLength = 0; // the changed file's length, for a replace the user allows
    // Written after the text: the bytes appended since the file was seen, on a line of their
    // own (CR LF put before them when the text ends within a line).
    std::string appended;
};

// Replaces the file with `text` (encoded bytes, nothing added), keeping the bytes appended
// since it was `seen`, without holding the file in memory: opens the file, checks that it still
// begins with the seen bytes, writes the text and the appended bytes to a temporary file,
// fsyncs, renames it over the file and fsyncs the folder. A device is written in place. A
// failed replace keeps the old file whole. The file keeps its permissions, and its owner and
// group where this user may give them; a file with other names (hard links), or one whose
// owner or group the new file could not take, is rewritten in place once the text is safely in
// a temporary file beside it.
ReplaceOutcome ReplaceKeepingAppends(const std::string& path, const SeenFile& seen,
                                     const ByteChunks& text);

} // namespace valdrex
