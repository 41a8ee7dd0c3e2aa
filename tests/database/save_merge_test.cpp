#include "database/database_file.h"
#include "database/save_merge.h"
#include "file_bytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
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

// The bytes in pieces of `size`.
ByteChunks Pieces(std::string bytes, std::size_t size) {
    auto rest = std::make_shared<std::string>(std::move(bytes));
    auto at = std::make_shared<std::size_t>(0);
    return [rest, at, size] {
        const std::string_view piece = std::string_view(*rest).substr(*at, size);
        *at += piece.size();
        return piece;
    };
}

// The save that streams ends as the merge of whole texts says: the text and what was
// appended, or the file untouched when it changed otherwise. The pieces are cut at odd places
// and the file is longer than one piece of reading.
TEST(ReplaceKeepingAppends, EndsAsTheMergeOfWholeTextsSays) {
    const QTemporaryDir dir;
    const std::string db = dir.filePath("db.txt").toStdString();
    const std::string read = std::string(1500000, 'r') + "\r\nlast";
    std::string changedLate = read;
    changedLate[1200001] = 'x';
    const std::pair<std::string, std::string> cases[] = {
        {read, "edited"},
        {read + "\r\nr1\r\nr2\r\n", "edited\r\n"},
        {read + "\r\nr1\r\n", "edited"},
        {read + " more\r\n", "edited"},
        {read.substr(0, 100), "edited"},
        {changedLate, "edited"},
        {changedLate + "r1\r\n", "edited"},
        {"", ""},
    };
    for (const auto& [disk, text] : cases) {
        Put(db, disk);
        const ReplaceOutcome outcome =
            ReplaceKeepingAppends(db, {read.size(), Pieces(read, 7)}, Pieces(text, 5));
        const SaveMerge merge = MergeOnSave(read, disk, text);
        EXPECT_EQ(outcome.changedOtherwise, merge.askFirst) << disk.size();
        EXPECT_EQ(outcome.appended, merge.appended) << disk.size();
        EXPECT_EQ(Bytes(db), merge.askFirst ? disk : text + merge.appended) << disk.size();
        EXPECT_EQ(outcome.diskLength, merge.askFirst ? disk.size() : 0) << disk.size();
    }
    // Told to replace whatever the first bytes are, it keeps only what lies beyond them.
    Put(db, "other\r\nr1\r\n");
    EXPECT_EQ(ReplaceKeepingAppends(db, {7, {}}, Pieces("mine", 3)).appended, "\r\nr1\r\n");
    EXPECT_EQ(Bytes(db), "mine\r\nr1\r\n");
}

} // namespace
} // namespace valdrex
