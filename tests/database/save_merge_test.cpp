#include "database/save_merge.h"

#include <gtest/gtest.h>

#include <tuple>

namespace valdrex {
namespace {

TEST(MergeOnSave, KeepsWhatWasAppendedAndAsksAboutAnyOtherChange) {
    constexpr bool ask = true, write = false;
    // read, disk, saved -> ask first, appended
    const std::tuple<const char*, const char*, const char*, bool, const char*> cases[] = {
        {"a\r\n", "a\r\n", "b\r\n", write, ""},
        {"a\r\n", "a\r\nr1\r\nr2\r\n", "b\r\n", write, "r1\r\nr2\r\n"},
        {"a\r\n", "a\r\nr1\r\n", "b", write, "\r\nr1\r\n"}, // the edited last line lost its end
        {"a", "a\r\nr1\r\n", "b", write, "\r\nr1\r\n"},     // the record already on its own line
        {"", "r1\r\n", "", write, "r1\r\n"},
        {"a\r\n", "", "b", ask, ""},                // emptied
        {"a\r\nb\r\n", "a\r\n", "a\r\n", ask, ""},  // shortened
        {"a\r\n", "x\r\nr1\r\n", "a\r\n", ask, ""}, // changed, then grown
    };
    for (const auto& [read, disk, saved, askFirst, appended] : cases) {
        const SaveMerge merge = MergeOnSave(read, disk, saved);
        EXPECT_EQ(merge.askFirst, askFirst) << read << "|" << disk;
        EXPECT_EQ(merge.appended, appended) << read << "|" << disk;
    }
}

} // namespace
} // namespace valdrex
