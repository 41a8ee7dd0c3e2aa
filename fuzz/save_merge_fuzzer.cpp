// The database viewer's Save over a file that may have changed: a record on disk is never
// dropped without asking, and never joins the viewer's last line.
//
// Input: the bytes the viewer read, the file now and the viewer's text, separated by '|'.

#include "database/database_file.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace valdrex;
    using namespace valdrex::fuzz;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view parts[3];
    for (std::string_view& part : parts) {
        const std::size_t bar = input.find('|');
        part = input.substr(0, bar);
        input.remove_prefix(bar == std::string_view::npos ? input.size() : bar + 1);
    }
    const auto& [read, disk, saved] = parts;

    const SaveMerge merge = MergeOnSave(read, disk, saved);
    Require(merge.askFirst == !disk.starts_with(read));
    if (merge.askFirst)
        return 0;
    // What the file gained since it was read ends the new file, whole.
    const std::string_view gained = disk.substr(read.size());
    Require(merge.appended.ends_with(gained));
    Require(merge.appended.size() == gained.size() ||
            (merge.appended.size() == gained.size() + 2 && merge.appended.starts_with("\r\n")));
    // ...and starts a line of its own after the viewer's text.
    const std::size_t start = saved.size() + merge.appended.size() - gained.size();
    const std::string result = std::string(saved) + merge.appended;
    Require(gained.empty() || gained.starts_with("\r\n") || start == 0 ||
            result[start - 1] == '\n');
    return 0;
}
