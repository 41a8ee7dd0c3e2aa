#include "database/locked_file.h"

#include "core/failure.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace valdrex {
namespace {

constexpr mode_t kNewFileMode = 0666; // narrowed by the umask
// As many links as the kernel follows for one path before it gives up.
constexpr int kMostLinks = 40;

// The kernel's rule for links in a folder such as /tmp: there, anyone can plant a link at a
// name another user is about to open.
bool MayFollow(const std::string& link, const struct stat& linkStatus) {
    struct stat folder {};
    if (::stat(FolderOf(link).c_str(), &folder) != 0)
        return false;
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || linkStatus.st_uid == ::geteuid() || linkStatus.st_uid == folder.st_uid;
}

// Where the link at `link` points, relative to the link's folder when not absolute.
std::string LinkTarget(const std::string& link) {
    std::string target;
    target.resize(PATH_MAX);
    const ssize_t length = ::readlink(link.c_str(), target.data(), target.size());
    if (length < 0)
        FailFile(errno);
    if (static_cast<std::size_t>(length) == target.size())
        FailFile(ENAMETOOLONG);
    target.resize(static_cast<std::size_t>(length));
    return target.starts_with('/') ? target : FolderOf(link) + "/" + target;
}

} // namespace

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

int OpenFollowingTrustedLinks(const std::string& path, int flags, std::string& filePath) {
    filePath = path;
    for (int links = 0;; ++links) {
        // Never followed by open itself: a link planted between a check and an open, or at a
        // name about to be created, would be.
        const int fd =
            ::open(filePath.c_str(), flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, kNewFileMode);
        if (fd >= 0)
            return fd;
        // ELOOP, or EACCES where the kernel keeps creates in shared folders to their owners.
        const int error = errno;
        struct stat link {};
        if (::lstat(filePath.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
            FailFile(error);
        if (links == kMostLinks)
            FailFile(ELOOP);
        if (!MayFollow(filePath, link))
            throw RuntimeFailure(EACCES, "'" + filePath +
                                             "' is another user's symbolic link in a shared "
                                             "folder; it is not followed");
        filePath = LinkTarget(filePath);
    }
}

LockedFile::LockedFile(std::string path, int flags, int lock)
    : path_(std::move(path)), flags_(flags), lock_(lock) {
    try {
        OpenAndLock();
    } catch (const RuntimeFailure&) {
        if (fd_ >= 0)
            ::close(fd_);
        throw;
    }
}

LockedFile::~LockedFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

void LockedFile::OpenAndLock() {
    for (;;) {
        fd_ = OpenFollowingTrustedLinks(path_, flags_, filePath_);
        if (LockedTheNamedFile())
            return;
        ::close(fd_);
        fd_ = -1;
    }
}

bool LockedFile::LockedTheNamedFile() {
    // A file system without locks (EOPNOTSUPP, ENOLCK) is written unlocked, as it was before
    // there was a lock.
    while (::flock(fd_, lock_) != 0 && errno == EINTR) {
    }
    // The size and times as they are once locked.
    if (::fstat(fd_, &status_) != 0)
        FailFile(errno);
    // A device is never replaced, and may give another file to each open (/dev/ptmx).
    if (!S_ISREG(status_.st_mode))
        return true;
    struct stat named {};
    return ::stat(path_.c_str(), &named) == 0 && named.st_dev == status_.st_dev &&
           named.st_ino == status_.st_ino;
}

void LockedFile::Unlock() {
    (void)::flock(fd_, LOCK_UN);
}

void LockedFile::Relock() {
    if (LockedTheNamedFile())
        return;
    ::close(fd_);
    fd_ = -1;
    OpenAndLock();
}

void LockedFile::Close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        FailFile(errno);
}

namespace {

constexpr char kAppendMark[] = "user.valdrex.appending";

struct AppendMark {
    off_t start = 0;
    off_t end = 0;
};

bool SpansPages(off_t start, std::size_t length) {
    static const off_t page = ::sysconf(_SC_PAGESIZE);
    return start / page != (start + static_cast<off_t>(length) - 1) / page;
}

} // namespace

bool MarkAppend(int fd, off_t start, std::size_t length) {
    const AppendMark mark{start, start + static_cast<off_t>(length)};
    return SpansPages(start, length) && ::fsetxattr(fd, kAppendMark, &mark, sizeof mark, 0) == 0;
}

void ClearAppendMark(int fd) {
    (void)::fremovexattr(fd, kAppendMark);
}

off_t TakeBackCutAppend(int fd, off_t size, char& last) {
    AppendMark mark;
    if (last == '\n' || ::fgetxattr(fd, kAppendMark, &mark, sizeof mark) != sizeof mark ||
        size <= mark.start || size >= mark.end)
        return size;
    std::string cut(static_cast<std::size_t>(size - mark.start), '\0');
    if (::pread(fd, cut.data(), cut.size(), mark.start) != static_cast<ssize_t>(cut.size()) ||
        cut.find('\n', 2) != std::string::npos || ::ftruncate(fd, mark.start) != 0)
        return size;
    ClearAppendMark(fd);
    last = '\n';
    if (mark.start > 0)
        (void)::pread(fd, &last, 1, mark.start - 1);
    return mark.start;
}

} // namespace valdrex
