#include "database/save_merge.h"

namespace valdrex {

SaveMerge MergeOnSave(std::string_view readBytes, std::string_view diskBytes,
                      std::string_view savedBytes) {
    if (!diskBytes.starts_with(readBytes))
        return {.askFirst = true, .appended = {}};
    std::string appended(diskBytes.substr(readBytes.size()));
    // The viewer's last line may have lost its line end; the records must not join it.
    if (!appended.empty() && !savedBytes.empty() && !savedBytes.ends_with('\n') &&
        !appended.starts_with("\r\n"))
        appended.insert(0, "\r\n");
    return {.askFirst = false, .appended = std::move(appended)};
}

} // namespace valdrex
