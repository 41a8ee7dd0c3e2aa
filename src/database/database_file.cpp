#include "database/database_file.h"

#include "core/failure.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QString>

#include <cerrno>
#include <csignal>
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

// Writes everything; returns 0 or the errno of the write that failed.
int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

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

// QSaveFile keeps no errno of its own: take the one its failing call left, or the closest
// match for the kind of failure it reports.
int SaveFailureErrno(const QSaveFile& file, const QString& path, int errnoAfterCall) {
    if (QFileInfo(path).isDir())
        return EISDIR;
    if (errnoAfterCall != 0)
        return errnoAfterCall;
    switch (file.error()) {
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
    case QFileDevice::RenameError:
        return EACCES;
    case QFileDevice::WriteError:
    case QFileDevice::ResizeError:
        return ENOSPC;
    default:
        return EIO;
    }
}

} // namespace

void AppendLine(const std::string& path, std::string_view utf8Line, bool truncateFirst) {
    IgnoreFileSizeSignal();
    if (truncateFirst) {
        // Overwriting replaces the whole file, so a failed write keeps the old one.
        WriteWholeFile(path, std::string(utf8Line) + "\r\n");
        return;
    }
    const std::string bytes = EncodeCp1252(utf8Line) + "\r\n";
    FileDescriptor file(path, O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC);
    struct stat before {};
    if (::fstat(file.get(), &before) != 0)
        FailFile(errno);
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
    return DecodeCp1252(bytes);
}

void WriteWholeFile(const std::string& path, std::string_view utf8Text) {
    const std::string bytes = EncodeCp1252(utf8Text);
    if (IsSpecialFile(path)) {
        WriteInPlace(path, bytes);
        return;
    }
    const QString qPath = QString::fromStdString(path);
    QSaveFile file(qPath);
    errno = 0;
    // Unbuffered, so that a short write (a full disk) shows here instead of being lost in a
    // buffer that commit() flushes without a word.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        FailFile(SaveFailureErrno(file, qPath, errno));
    errno = 0;
    const qint64 written = file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (written != static_cast<qint64>(bytes.size())) {
        const int error = SaveFailureErrno(file, qPath, errno);
        file.cancelWriting();
        FailFile(error);
    }
    errno = 0;
    if (!file.commit())
        FailFile(SaveFailureErrno(file, qPath, errno));
}

} // namespace valdrex
