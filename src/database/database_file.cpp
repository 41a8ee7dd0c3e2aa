#include "database/database_file.h"

#include "core/failure.h"
#include "core/platform_files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace valdrex {
namespace {

constexpr mode_t kNewFileMode = 0666; // narrowed by the umask

class FileDescriptor {
  public:
    // Opens as OpenFollowingTrustedLinks does.
    FileDescriptor(const std::string& path, int flags) {
        std::string filePath;
        fd_ = OpenFollowingTrustedLinks(path, flags, filePath);
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

// Devices and pipes are never replaced: a database kept in /dev/null must stay that device.
// Every open is non-blocking, so a pipe without a partner fails at once instead of waiting for
// one.
bool IsSpecialFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

// Writes a file's new contents to the descriptor; returns 0 or the errno of the failure.
using ContentWriter = std::function<int(int fd)>;

void WriteInPlace(const std::string& path, const ContentWriter& writeContents) {
    FileDescriptor file(path, O_WRONLY | O_TRUNC);
    if (const int error = writeContents(file.get()); error != 0)
        FailFile(error);
    file.Close();
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
            ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            FailFile(errno);
    }
}

// A kill can stop a write to a file between two pages, leaving the start of a line without its
// end. An append that spans pages therefore first marks the file with the bytes it is about to
// fill, in an extended attribute, which readers never see; the next writer takes back, under the
// lock, what a kill left of it. A file system without extended attributes is written unmarked.
constexpr char kAppendMark[] = "user.valdrex.appending";

struct AppendMark {
    off_t start = 0;
    off_t end = 0;
};

bool SpansPages(off_t start, std::size_t length) {
    static const off_t page = ::sysconf(_SC_PAGESIZE);
    return start / page != (start + static_cast<off_t>(length) - 1) / page;
}

// When the file of `size` bytes ends (`last`) within a marked append and what it holds of it has
// no line end, but for the CR LF it may begin with, cuts that off. Returns the size after, with
// `last` its last byte again.
off_t TakeBackCutAppend(int fd, off_t size, char& last) {
    AppendMark mark;
    if (last == '\n' || ::fgetxattr(fd, kAppendMark, &mark, sizeof mark) != sizeof mark ||
        size <= mark.start || size >= mark.end)
        return size;
    std::string cut(static_cast<std::size_t>(size - mark.start), '\0');
    if (::pread(fd, cut.data(), cut.size(), mark.start) != static_cast<ssize_t>(cut.size()) ||
        cut.find('\n', 2) != std::string::npos || ::ftruncate(fd, mark.start) != 0)
        return size;
    (void)::fremovexattr(fd, kAppendMark);
    last = '\n';
    if (mark.start > 0)
        (void)::pread(fd, &last, 1, mark.start - 1);
    return mark.start;
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
    (void)::fremovexattr(to, kAppendMark); // it marked bytes that are gone
    return 0;
}

// Writes the contents to a new file beside the locked file, then renames it over the file:
// readers see the old file or the new one, never a part, and a failure leaves the old file as it
// was. A file the new one cannot stand in for (other names, an owner or group it cannot take) is
// rewritten from the new file instead, which is kept when that fails half way.
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

// Opens the file locked for writing, and for reading too where it may be read (to read its last
// byte, or what was appended); returns whether it may be.
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

// Reads up to `size` bytes at `offset`: the count read, 0 at the end, or -errno.
ssize_t ReadAt(int fd, char* buffer, std::size_t size, std::uint64_t offset) {
    for (;;) {
        const ssize_t got = ::pread(fd, buffer, size, static_cast<off_t>(offset));
        if (got >= 0 || errno != EINTR)
            return got >= 0 ? got : -errno;
    }
}

constexpr std::size_t kCompareChunk = 1 << 20;

// Whether the file begins with every byte of `seen`.
bool BeginsWith(int fd, const SeenFile& seen) {
    std::vector<char> buffer(kCompareChunk);
    std::string_view expected;
    for (std::uint64_t offset = 0; offset < seen.length;) {
        const ssize_t got =
            ReadAt(fd, buffer.data(), std::min<std::uint64_t>(buffer.size(), seen.length - offset),
                   offset);
        if (got < 0)
            FailFile(static_cast<int>(-got));
        if (got == 0)
            return false; // shorter
        offset += static_cast<std::uint64_t>(got);
        for (std::string_view disk(buffer.data(), static_cast<std::size_t>(got)); !disk.empty();) {
            if (expected.empty() && (expected = seen.bytes()).empty())
                return false;
            const std::size_t common = std::min(disk.size(), expected.size());
            if (std::memcmp(disk.data(), expected.data(), common) != 0)
                return false;
            disk.remove_prefix(common);
            expected.remove_prefix(common);
        }
    }
    return true;
}

// Appends to `bytes` what the file holds from `offset` to its end; returns 0 or the errno.
int ReadRest(int fd, std::uint64_t offset, std::string& bytes) {
    std::vector<char> buffer(kCompareChunk);
    for (;;) {
        const ssize_t got = ReadAt(fd, buffer.data(), buffer.size(), offset);
        if (got <= 0)
            return static_cast<int>(-got);
        bytes.append(buffer.data(), static_cast<std::size_t>(got));
        offset += static_cast<std::uint64_t>(got);
    }
}

// Writes every chunk of `text`; keeps its last byte in `last` ("" for an empty text).
int WriteChunks(int fd, const ByteChunks& text, std::string& last) {
    for (std::string_view chunk = text(); !chunk.empty(); chunk = text()) {
        if (const int error = WriteAll(fd, chunk); error != 0)
            return error;
        last = chunk.back();
    }
    return 0;
}

} // namespace

ReplaceOutcome ReplaceKeepingAppends(const std::string& path, const SeenFile& seen,
                                     const ByteChunks& text) {
    IgnoreFileSizeSignal();
    std::string last;
    if (IsSpecialFile(path)) {
        WriteInPlace(path, [&](int fd) { return WriteChunks(fd, text, last); });
        return {};
    }
    // Held from the comparison to the rename: appends wait, then go to the new file.
    std::optional<LockedFile> file;
    OpenToWrite(file, path, O_CREAT);
    const int fd = file->fd();
    char lastOnDisk = '\n';
    if (file->status().st_size > 0)
        (void)::pread(fd, &lastOnDisk, 1, file->status().st_size - 1);
    const off_t size = TakeBackCutAppend(fd, file->status().st_size, lastOnDisk);
    if (seen.bytes && !BeginsWith(fd, seen))
        return {.changedOtherwise = true,
                .diskLength = static_cast<std::uint64_t>(size),
                .appended = {}};
    ReplaceOutcome outcome;
    ReplaceFile(*file, [&](int temporary) {
        if (const int error = WriteChunks(temporary, text, last); error != 0)
            return error;
        // Read only when the file grew: a file this user may write but not read can still be
        // replaced.
        std::string rest;
        if (static_cast<std::uint64_t>(size) > seen.length)
            if (const int error = ReadRest(fd, seen.length, rest); error != 0)
                return error;
        // The merge of whole texts decides whether the records need a line end before them;
        // what was seen has been matched already, so it starts from nothing.
        outcome.appended = MergeOnSave({}, rest, last).appended;
        return WriteAll(temporary, outcome.appended);
    });
    file->Close();
    return outcome;
}

void LineAppender::Open() {
    readable_ = OpenToWrite(file_, path_, O_CREAT | O_APPEND);
    // A pipe opened for reading as well would take the line itself, with no reader to fail for.
    if (S_ISFIFO(file_->status().st_mode)) {
        file_.reset();
        file_.emplace(path_, O_WRONLY | O_CREAT | O_APPEND, LOCK_EX);
        readable_ = false;
    }
}

void LineAppender::Append(std::string_view utf8Line) {
    IgnoreFileSizeSignal();
    if (file_)
        file_->Relock();
    else
        Open();
    LockedFile& file = *file_;
    const bool regular = readable_ && S_ISREG(file.status().st_mode);
    off_t size = file.status().st_size;
    // A last line without its line end (edited by hand) must not swallow the record: it starts
    // on a line of its own. Read under the lock, so that a record another writer has half
    // written is never taken for one.
    char last = '\n';
    if (regular && size > 0)
        (void)::pread(file.fd(), &last, 1, size - 1);
    if (regular)
        size = TakeBackCutAppend(file.fd(), size, last);
    std::string bytes;
    bytes.reserve(utf8Line.size() + 4); // once: a long line is not copied again as it grows
    if (last != '\n')
        bytes += "\r\n";
    AppendCp1252(bytes, utf8Line);
    bytes += "\r\n";
    const AppendMark mark{size, size + static_cast<off_t>(bytes.size())};
    const bool marked = regular && SpansPages(size, bytes.size()) &&
                        ::fsetxattr(file.fd(), kAppendMark, &mark, sizeof mark, 0) == 0;
    // One write of the whole line: a reader never sees a record put together from pieces
    // written at different times.
    const int error = WriteAll(file.fd(), bytes);
    if (error != 0)
        (void)::ftruncate(file.fd(), size); // take back whatever part of the line got there
    if (marked)
        (void)::fremovexattr(file.fd(), kAppendMark);
    file.Unlock();
    if (error != 0)
        FailFile(error);
}

void AppendLine(const std::string& path, std::string_view utf8Line, bool truncateFirst) {
    if (!truncateFirst) {
        LineAppender(path).Append(utf8Line);
        return;
    }
    // Overwriting replaces the whole file, so a failed write keeps the old one.
    IgnoreFileSizeSignal();
    std::string bytes;
    bytes.reserve(utf8Line.size() + 2);
    AppendCp1252(bytes, utf8Line);
    bytes += "\r\n";
    const auto writeBytes = [&bytes](int fd) { return WriteAll(fd, bytes); };
    if (IsSpecialFile(path)) {
        WriteInPlace(path, writeBytes);
        return;
    }
    // Held while the new file is written and renamed: appends wait, and go to the new file.
    std::optional<LockedFile> file;
    OpenToWrite(file, path, O_CREAT);
    ReplaceFile(*file, writeBytes);
}

void EnsureFileExists(const std::string& path) {
    FileDescriptor file(path, O_WRONLY | O_CREAT | O_APPEND);
    file.Close();
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
