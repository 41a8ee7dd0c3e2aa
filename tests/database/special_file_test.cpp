// A database path that names a pipe or a device: no command hangs, reads without end or
// replaces the device with a regular file.

#include "core/failure.h"
#include "database/database_file.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace valdrex {
namespace {

// The failure's number, 0 when the action succeeds.
int FailureNumber(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeFailure& failure) {
        return failure.number();
    }
    return 0;
}

bool IsKind(const std::string& path, mode_t kind) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == kind;
}

class SpecialFile : public ::testing::Test {
  protected:
    // A hang would stop the whole test run; the alarm turns it into a failure.
    void SetUp() override { ::alarm(20); }
    void TearDown() override { ::alarm(0); }

    QTemporaryDir dir_;
    std::string PathOf(const char* name) const { return dir_.filePath(name).toStdString(); }
};

TEST_F(SpecialFile, APipeWithoutPartnerIsReportedInsteadOfWaitedFor) {
    const std::string fifo = PathOf("db.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadWholeFile(fifo), ""); // no writer: nothing to read
    EXPECT_EQ(FailureNumber([&] { AppendLine(fifo, "record", false); }), ENXIO);
    EXPECT_EQ(FailureNumber([&] { AppendLine(fifo, "record", true); }), ENXIO);
    EXPECT_EQ(FailureNumber([&] { EnsureFileExists(fifo); }), ENXIO);
    EXPECT_EQ(FailureNumber([&] { WriteWholeFile(fifo, "text"); }), ENXIO);
    EXPECT_TRUE(IsKind(fifo, S_IFIFO));
}

TEST_F(SpecialFile, ADeviceWithoutEndIsNotReadForever) {
    EXPECT_EQ(FailureNumber([] { ReadWholeFile("/dev/zero"); }), EFBIG);
}

// Writes go to the device itself, through a private copy of the null device.
TEST_F(SpecialFile, ANullDeviceStaysADevice) {
    const std::string null = PathOf("null");
    if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "this machine does not allow making a device node here";
    EXPECT_EQ(FailureNumber([&] { AppendLine(null, "record", false); }), 0);
    EXPECT_EQ(FailureNumber([&] { AppendLine(null, "record", true); }), 0);
    EXPECT_EQ(FailureNumber([&] { WriteWholeFile(null, "text"); }), 0);
    EXPECT_EQ(ReadWholeFile(null), "");
    EXPECT_TRUE(IsKind(null, S_IFCHR));
}

} // namespace
} // namespace valdrex
