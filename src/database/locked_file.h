#pragma once

#include <cstddef>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>

namespace valdrex {

// Opening the database file the way every reader and writer must, the lock its writers share,
// and the mark by which a writer takes back what a killed one left.

// The folder holding `path`: "." for a bare name, "/" for a name in the root.
std::string FolderOf(const std::string& path);

// open(2) of `path` (O_CLOEXEC and O_NONBLOCK added), except that a symbolic link in a folder
// that anyone may write to and only owners may delete from (such as /tmp) is followed only when
// it belongs to this user or to the folder's owner: the rule the kernel applies when
// protected_symlinks is set, applied here whatever the system's setting, so that another user
// cannot point the database at a file of this user's. Returns the descriptor and sets
// `filePath` to the path of the file itself (links followed); fails with a RuntimeFailure.
int OpenFollowingTrustedLinks(const std::string& path, int flags, std::string& filePath);

// The database file, open, with its advisory lock (flock) held: every writer holds it for one
// append or one replace, so that appends never interleave and a replace keeps what was appended
// before it. Since a replace renames a new file over the path, a lock is only good once the
// path still names the file locked: otherwise the file is opened again.
class LockedFile {
  public:
    // Opens `path` with `flags` (as OpenFollowingTrustedLinks does) and takes the lock, LOCK_EX
    // or LOCK_SH.
    LockedFile(std::string path, int flags, int lock);
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    // Closing releases the lock.
    ~LockedFile();

    // Lets other writers have the file; it stays open for Relock.
    void Unlock();
    // Takes the lock again, opening the path again if it names another file by then.
    void Relock();
    // Closes the file, failing with a FileFailure when the close does.
    void Close();

    int fd() const { return fd_; }
    // The file as it was when the lock was taken.
    const struct stat& status() const { return status_; }
    // The path of the file itself: the database path with its links followed.
    const std::string& filePath() const { return filePath_; }

  private:
    void OpenAndLock();
    // Waits for the lock; whether the path still names the file by then.
    bool LockedTheNamedFile();

    std::string path_;
    int flags_;
    int lock_;
    int fd_ = -1;
    struct stat status_ {};
    std::string filePath_;
};

// A kill can stop a write to a file between two pages, leaving the start of a line without its
// end. An append that spans pages therefore first marks the file with the bytes it is about to
// fill, in an extended attribute, which readers never see; the next writer takes back, under the
// lock, what a kill left of it. A file system without extended attributes is written unmarked.

// Marks the `length` bytes about to be appended at `start` when they span pages; returns
// whether the file is marked (and must be cleared once the write is done).
bool MarkAppend(int fd, off_t start, std::size_t length);
// Removes the mark: the append it stood for is over, or its bytes are gone.
void ClearAppendMark(int fd);

// When the file of `size` bytes ends (`last`) within a marked append and what it holds of it has
// no line end, but for the CR LF it may begin with, cuts that off. Returns the size after, with
// `last` its last byte again.
off_t TakeBackCutAppend(int fd, off_t size, char& last);

} // namespace valdrex
