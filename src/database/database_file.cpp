#include "database/database_file.h"

#include "core/failure.h"
#include "core/platform_files.h"
#include "database/atomic_replace.h"
#include "database/locked_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace valdrex {
namespace {

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
    const bool marked = regular && MarkAppend(file.fd(), size, bytes.size());
    // One write of the whole line: a reader never sees a record put together from pieces
    // written at different times.
    const int error = WriteAll(file.fd(), bytes);
    if (error != 0)
        (void)::ftruncate(file.fd(), size); // take back whatever part of the line got there
    if (marked)
        ClearAppendMark(file.fd());
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
