#include "database/database_file.h"

#include "core/failure.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace valdrex {
namespace {

const std::string kExampleRecord = "2\xC2\xB7x - 4 = 0; S={ 2}";

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

int FailureNumber(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeFailure& failure) {
        return failure.number();
    }
    return 0;
}

class DatabaseFile : public ::testing::Test {
  protected:
    std::string PathOf(const std::string& name) const {
        return dir_.filePath(name.c_str()).toStdString();
    }

    QTemporaryDir dir_;
};

TEST_F(DatabaseFile, WritesTheWorkedExampleByteForByte) {
    const std::string path = PathOf("Valdrexdb.txt");
    AppendLine(path, kExampleRecord, false);
    const unsigned char expected[] = {0x32, 0xB7, 0x78, 0x20, 0x2D, 0x20, 0x34,
                                      0x20, 0x3D, 0x20, 0x30, 0x3B, 0x20, 0x53,
                                      0x3D, 0x7B, 0x20, 0x32, 0x7D, 0x0D, 0x0A};
    EXPECT_EQ(Bytes(path), std::string(std::begin(expected), std::end(expected)));
}

TEST_F(DatabaseFile, AppendsOrOverwrites) {
    const std::string path = PathOf("db.txt");
    AppendLine(path, "one", false);
    AppendLine(path, "two", false);
    EXPECT_EQ(Bytes(path), "one\r\ntwo\r\n");
    AppendLine(path, "three", true);
    AppendLine(path, "", false); // an empty annotation is an empty line
    EXPECT_EQ(Bytes(path), "three\r\n\r\n");
    AppendLine(path, "x\xE2\x86\x92y", true);
    EXPECT_EQ(Bytes(path), "x?y\r\n");
}

TEST_F(DatabaseFile, MissingFolderFailsWithNothingWritten) {
    const std::string path = PathOf("missing/db.txt");
    const auto expectNotFound = [&](const std::function<void()>& action) {
        EXPECT_EQ(FailureNumber(action), ENOENT);
        EXPECT_FALSE(std::filesystem::exists(PathOf("missing")));
    };
    expectNotFound([&] { AppendLine(path, "line", false); });
    expectNotFound([&] { AppendLine(path, "line", true); });
    expectNotFound([&] { EnsureFileExists(path); });
    expectNotFound([&] { ReadWholeFile(path); });
    expectNotFound([&] { WriteWholeFile(path, "text"); });
}

TEST_F(DatabaseFile, EnsureFileExistsCreatesButNeverChanges) {
    const std::string path = PathOf("db.txt");
    EnsureFileExists(path);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(Bytes(path), "");
    Put(path, "keep\r\n");
    EnsureFileExists(path);
    EXPECT_EQ(Bytes(path), "keep\r\n");
}

TEST_F(DatabaseFile, ReadWholeFileCreatesAMissingFileAndDecodes) {
    const std::string path = PathOf("db.txt");
    EXPECT_EQ(ReadWholeFile(path), "");
    EXPECT_TRUE(std::filesystem::exists(path));
    Put(path, "2\xB7x\r\n\x80\r\nlast");
    EXPECT_EQ(ReadWholeFile(path), "2\xC2\xB7x\r\n\xE2\x82\xAC\r\nlast");
}

TEST_F(DatabaseFile, WriteWholeFileWritesTheTextAsItIs) {
    const std::string path = PathOf("db.txt");
    Put(path, "old text that is longer\r\n");
    WriteWholeFile(path, "2\xC2\xB7x\r\nno line end");
    EXPECT_EQ(Bytes(path), "2\xB7x\r\nno line end");
    WriteWholeFile(path, "");
    EXPECT_EQ(Bytes(path), "");
}

TEST_F(DatabaseFile, WriteWholeFileOverAFolderLeavesItAlone) {
    const std::string folder = PathOf("folder");
    std::filesystem::create_directory(folder);
    Put(folder + "/inner.txt", "inner");
    EXPECT_EQ(FailureNumber([&] { WriteWholeFile(folder, "text"); }), EISDIR);
    EXPECT_EQ(Bytes(folder + "/inner.txt"), "inner");
    EXPECT_EQ(FailureNumber([&] { AppendLine(folder, "text", false); }), EISDIR);
    EXPECT_EQ(FailureNumber([&] { ReadWholeFile(folder); }), EISDIR);
}

TEST_F(DatabaseFile, WriteWholeFileIntoAReadOnlyFolderKeepsTheOldBytes) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    const std::string folder = PathOf("locked");
    std::filesystem::create_directory(folder);
    const std::string path = folder + "/db.txt";
    Put(path, "old\r\n");
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_exec);
    EXPECT_EQ(FailureNumber([&] { WriteWholeFile(path, "new"); }), EACCES);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    EXPECT_EQ(Bytes(path), "old\r\n");
}

// Run in a child process so that the file-size limit binds nobody else.
TEST_F(DatabaseFile, AWriteBeyondTheFileSizeLimitLeavesThePreviousBytes) {
    const std::string path = PathOf("db.txt");
    Put(path, "old\r\n");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{8, 8};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const int number = FailureNumber([&] { AppendLine(path, std::string(100, 'x'), false); });
        ::_exit(number == EFBIG ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child was killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the append did not fail with EFBIG";
    EXPECT_EQ(Bytes(path), "old\r\n");
}

} // namespace
} // namespace valdrex
