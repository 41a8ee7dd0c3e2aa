#include "database/atomic_replace.h"

#include "core/failure.h"
#include "core/platform_files.h"
#include "database/locked_file.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace valdrex {
namespace {

constexpr mode_t kNewFileMode = 0666; // narrowed by the umask

// Makes the rename itself last through a power cut. The file is already in place: a folder
// that cannot be synced (some file systems refuse) is no reason to report a failed save.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

// Creates a file of a new name in the folder of `path`, narrowed by the umask like any create.
int CreateTemporaryBeside(const std::string& path, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    for (;;) {
        temporary = path + "." + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        const int fd =
            ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            FailFile(errno);
    }
}

// Copies the `size` bytes of `from` over the file `to`, which was `oldSize` bytes long, and cuts
// it there. Room for a longer text is taken first, so that a full disk leaves the
// file as it was; returns 0 or the errno, and whether the file was changed.
int RewriteFrom(int from, int to, off_t size, off_t oldSize, bool& changed) {
    changed = false;
    if (size > oldSize && ::fallocate(to, 0, 0, size) != 0 && errno != EOPNOTSUPP) {
        const int error = errno;
        (void)::ftruncate(to, oldSize); // whatever part of the room was taken
        return error;
    }
    if (::lseek(from, 0, SEEK_SET) != 0 || ::lseek(to, 0, SEEK_SET) != 0)
        return errno;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            break;
        changed = true;
        if (const int error = WriteAll(to, std::string_view(buffer, static_cast<std::size_t>(got)));
            error != 0)
            return error;
    }
    if (::ftruncate(to, size) != 0 || ::fsync(to) != 0)
        return errno;
    ClearAppendMark(to); // it marked bytes that are gone
    return 0;
}

} // namespace

FileDescriptor::FileDescriptor(const std::string& path, int flags) {
    std::string filePath;
    fd_ = OpenFollowingTrustedLinks(path, flags, filePath);
}

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0)
        ::close(fd_);
}

void FileDescriptor::Close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        FailFile(errno);
}

void IgnoreFileSizeSignal() {
    static const bool ignored = [] {
        std::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)ignored;
}

bool IsSpecialFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

void WriteInPlace(const std::string& path, const ContentWriter& writeContents) {
    FileDescriptor file(path, O_WRONLY | O_TRUNC);
    if (const int error = writeContents(file.get()); error != 0)
        FailFile(error);
    file.Close();
}

void ReplaceFile(const LockedFile& file, const ContentWriter& writeContents) {
    const struct stat& old = file.status();
    std::string temporary;
    const int fd = CreateTemporaryBeside(file.filePath(), temporary);
    int error = 0;
    bool inPlace = old.st_nlink > 1;
    if (!inPlace && ::fchown(fd, old.st_uid, old.st_gid) != 0)
        inPlace = true;
    // After fchown, which may clear the set-id bits.
    if (::fchmod(fd, old.st_mode & 07777) != 0)
        error = errno;
    try {
        if (error == 0)
            error = writeContents(fd);
    } catch (...) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    bool changed = false;
    if (error == 0 && inPlace)
        error = RewriteFrom(fd, file.fd(), ::lseek(fd, 0, SEEK_CUR), old.st_size, changed);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && !inPlace && ::rename(temporary.c_str(), file.filePath().c_str()) != 0)
        error = errno;
    if (changed && error != 0) {
        const RuntimeFailure failure = FileFailure(error);
        throw RuntimeFailure(error,
                             failure.description() + "; the new text is in '" + temporary + "'");
    }
    if (error != 0 || inPlace)
        ::unlink(temporary.c_str());
    if (error != 0)
        FailFile(error);
    if (!inPlace)
        SyncFolder(FolderOf(file.filePath()));
}

bool OpenToWrite(std::optional<LockedFile>& file, const std::string& path, int flags) {
    try {
        file.emplace(path, O_RDWR | flags, LOCK_EX);
        return true;
    } catch (const RuntimeFailure& failure) {
        if (failure.number() != EACCES)
            throw;
    }
    file.emplace(path, O_WRONLY | flags, LOCK_EX);
    return false;
}

} // namespace valdrex
