#pragma once

#include "database/locked_file.h"

#include <functional>
#include <optional>
#include <string>

namespace valdrex {

// Writing the database file's whole contents anew: a failure never leaves the file half old,
// half new.

// A descriptor of the file, opened as OpenFollowingTrustedLinks does.
class FileDescriptor {
  public:
    FileDescriptor(const std::string& path, int flags);
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    // Only reached on a failure already being reported; that failure's errno is what counts.
    ~FileDescriptor();

    int get() const { return fd_; }
    // Fails with a FileFailure when the close does.
    void Close();

  private:
    int fd_;
};

// Without this, a write past the file-size limit would kill the program instead of failing
// with EFBIG.
void IgnoreFileSizeSignal();

// Devices and pipes are never replaced: a database kept in /dev/null must stay that device.
// Every open is non-blocking, so a pipe without a partner fails at once instead of waiting for
// one.
bool IsSpecialFile(const std::string& path);

// Writes a file's new contents to the descriptor; returns 0 or the errno of the failure.
using ContentWriter = std::function<int(int fd)>;

// Truncates the (special) file and writes the contents into it.
void WriteInPlace(const std::string& path, const ContentWriter& writeContents);

// Writes the contents to a new file beside the locked file, then renames it over the file:
// readers see the old file or the new one, never a part, and a failure leaves the old file as it
// was. A file the new one cannot stand in for (other names, an owner or group it cannot take) is
// rewritten from the new file instead, which is kept when that fails half way.
void ReplaceFile(const LockedFile& file, const ContentWriter& writeContents);

// Opens the file locked for writing, and for reading too where it may be read (to read its last
// byte, or what was appended); returns whether it may be.
bool OpenToWrite(std::optional<LockedFile>& file, const std::string& path, int flags);

} // namespace valdrex
