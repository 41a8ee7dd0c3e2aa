#include "database/database_file.h"

#include "core/failure.h"
#include "core/platform_files.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace valdrex {
namespace {

constexpr mode_t kNewFileMode = 0666; // narrowed by the umask

class FileDescriptor {
  public:
    FileDescriptor(const std::string& path, int flags)
        : fd_(::open(path.c_str(), flags, kNewFileMode)) {
        if (fd_ < 0)
            FailFile(errno);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    // Only reached on a failure already being reported; that failure's errno is what counts.
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }

    int get() const { return fd_; }

    void Close() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            FailFile(errno);
    }

  private:
    int fd_;
};

// Without this, a write past the file-size limit would kill the program instead of failing
// with EFBIG.
void IgnoreFileSizeSignal() {
    static const bool ignored = [] {
        std::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)ignored;
}

// Devices and pipes are neither replaced nor read to their end: a database kept in /dev/null
// must stay that device, and /dev/zero never ends. Every open is non-blocking, so a pipe
// without a partner fails at once instead of waiting for one.
constexpr std::size_t kMaxSpecialFileBytes = 1 << 20;

bool IsSpecialFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

void WriteInPlace(const std::string& path, std::string_view bytes) {
    FileDescriptor file(path, O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC);
    if (const int error = WriteAll(file.get(), bytes); error != 0)
        FailFile(error);
    file.Close();
}

// Whether the regular file's last byte is there and is not LF. The file is opened for
// appending only, so the byte is read through a descriptor of its own.
bool EndsWithoutLineFeed(const std::string& path, const struct stat& st) {
    if (!S_ISREG(st.st_mode) || st.st_size == 0)
        return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    char last = '\n';
    (void)::pread(fd, &last, 1, st.st_size - 1);
    ::close(fd);
    return last != '\n';
}

// Where a whole-file replace writes: the file a link points to, so the link stays a link.
std::string ReplacedPath(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char* const target = ::realpath(path.c_str(), nullptr);
    if (!target)
        return path;
    std::string resolved(target);
    std::free(target);
    return resolved;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

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
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            FailFile(errno);
    }
}

// Writes the bytes to a new file beside `path`, then renames it over `path`: readers see the
// old file or the new one, never a part, and a failure leaves the old file as it was.
void ReplaceFile(const std::string& path, std::string_view bytes) {
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        FailFile(EISDIR);
    // The folder may allow the rename where the file itself is read-only.
    if (exists && ::access(path.c_str(), W_OK) != 0)
        FailFile(errno);
    std::string temporary;
    const int fd = CreateTemporaryBeside(path, temporary);
    int error = 0;
    // An existing file keeps its permissions; a new one has those of an ordinary create.
    if (exists && ::fchmod(fd, existing.st_mode & 07777) != 0)
        error = errno;
    if (error == 0)
        error = WriteAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        FailFile(error);
    }
    SyncFolder(FolderOf(path));
}

} // namespace

void AppendLine(const std::string& path, std::string_view utf8Line, bool truncateFirst) {
    IgnoreFileSizeSignal();
    if (truncateFirst) {
        // Overwriting replaces the whole file, so a failed write keeps the old one.
        WriteWholeFile(path, std::string(utf8Line) + "\r\n");
        return;
    }
    FileDescriptor file(path, O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC);
    struct stat before {};
    if (::fstat(file.get(), &before) != 0)
        FailFile(errno);
    // A last line without its line end (cut short, or edited by hand) must not swallow the
    // record: it starts on a line of its own.
    std::string bytes = EndsWithoutLineFeed(path, before) ? "\r\n" : "";
    bytes += EncodeCp1252(utf8Line);
    bytes += "\r\n";
    // One write of the whole line: a reader, or a run killed meanwhile, never sees a record
    // put together from pieces written at different times.
    if (const int error = WriteAll(file.get(), bytes); error != 0) {
        // Take back whatever part of the line reached the file.
        (void)::ftruncate(file.get(), before.st_size);
        FailFile(error);
    }
    file.Close();
}

void EnsureFileExists(const std::string& path) {
    FileDescriptor file(path, O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC);
    file.Close();
}

std::string ReadWholeFile(const std::string& path) {
    return DecodeCp1252(ReadFileBytes(path));
}

std::string ReadFileBytes(const std::string& path) {
    FileDescriptor file(path, O_RDONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (::fstat(file.get(), &st) != 0)
        FailFile(errno);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            FailFile(errno);
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (!S_ISREG(st.st_mode) && bytes.size() > kMaxSpecialFileBytes)
            FailFile(EFBIG);
    }
    file.Close();
    return bytes;
}

void WriteWholeFile(const std::string& path, std::string_view utf8Text) {
    WriteFileBytes(path, EncodeCp1252(utf8Text));
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
    IgnoreFileSizeSignal();
    if (IsSpecialFile(path)) {
        WriteInPlace(path, bytes);
        return;
    }
    ReplaceFile(ReplacedPath(path), bytes);
}

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
