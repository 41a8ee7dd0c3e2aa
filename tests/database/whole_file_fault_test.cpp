// Writes that replace the whole database file (the viewer's save, a record in overwrite mode)
// on a full disk or over a file that may not be written: the failure is reported and the old
// file is kept whole.

#include "core/error_box.h"
#include "core/failure.h"
#include "database/database_file.h"
#include "file_size_limit.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace valdrex {
namespace {

namespace fs = std::filesystem;

const std::string kOldBytes = "x^2 - 1 = 0; S={ 1;-1}\r\nolder note\r\n";
const std::string kLongerText = kOldBytes + "a longer text than the disk can take\r\n";

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The box the viewer shows for a failed save, or "saved".
std::string SaveAsTheViewerDoes(const std::string& path, const std::string& text) {
    try {
        WriteWholeFile(path, text);
    } catch (const RuntimeFailure& failure) {
        const ErrorBox box = CriticalErrorBox(failure);
        return box.text + (box.icon == BoxIcon::Critical ? " (critical)" : " (plain)");
    }
    return "saved";
}

std::string OverwriteWithRecord(const std::string& path, const std::string& record) {
    try {
        AppendLine(path, record, true);
    } catch (const RuntimeFailure& failure) {
        return PlainErrorBox(failure).text;
    }
    return "saved";
}

class WholeFileFault : public ::testing::Test {
  protected:
    QTemporaryDir dir_;
    std::string database_ = dir_.filePath("db.txt").toStdString();

    int FilesInFolder() const {
        return static_cast<int>(std::distance(fs::directory_iterator(dir_.path().toStdString()),
                                              fs::directory_iterator()));
    }
};

// The save once reported success and left the file cut at the limit.
TEST_F(WholeFileFault, AViewerSaveOnAFullDiskKeepsThePreviousFile) {
    for (const rlim_t limit : {rlim_t{0}, rlim_t{3}, rlim_t{kOldBytes.size()}}) {
        SCOPED_TRACE("limit " + std::to_string(limit));
        Put(database_, kOldBytes);
        EXPECT_EQ(
            WithFileSizeLimit(limit, [&] { return SaveAsTheViewerDoes(database_, kLongerText); }),
            "Error 27. File too large (critical)");
        EXPECT_EQ(Bytes(database_), kOldBytes);
        EXPECT_EQ(FilesInFolder(), 1) << "a temporary file was left behind";
    }
    EXPECT_EQ(SaveAsTheViewerDoes(database_, kLongerText), "saved");
    EXPECT_EQ(Bytes(database_), kLongerText);
}

// Overwrite mode once emptied the file before writing, so a full disk lost the old records.
TEST_F(WholeFileFault, ARecordInOverwriteModeOnAFullDiskKeepsThePreviousFile) {
    for (const rlim_t limit : {rlim_t{0}, rlim_t{3}}) {
        SCOPED_TRACE("limit " + std::to_string(limit));
        Put(database_, kOldBytes);
        EXPECT_EQ(WithFileSizeLimit(limit, [&] { return OverwriteWithRecord(database_, "x = 0"); }),
                  "27. File too large");
        EXPECT_EQ(Bytes(database_), kOldBytes);
        EXPECT_EQ(FilesInFolder(), 1) << "a temporary file was left behind";
    }
    EXPECT_EQ(OverwriteWithRecord(database_, "x = 0"), "saved");
    EXPECT_EQ(Bytes(database_), "x = 0\r\n");
}

TEST_F(WholeFileFault, AReadOnlyFileIsNeitherSavedOverNorOverwritten) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop the superuser's writes";
    Put(database_, kOldBytes);
    fs::permissions(database_, fs::perms::owner_read);
    EXPECT_EQ(SaveAsTheViewerDoes(database_, "edited"), "Error 13. Permission denied (critical)");
    EXPECT_EQ(OverwriteWithRecord(database_, "x = 0"), "13. Permission denied");
    EXPECT_EQ(Bytes(database_), kOldBytes);
}

} // namespace
} // namespace valdrex
