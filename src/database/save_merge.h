#pragma once

#include <string>
#include <string_view>

namespace valdrex {

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
