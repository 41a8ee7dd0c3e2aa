#include "cli/records.h"

#include "cli/output_text.h"
#include "core/failure.h"
#include "core/platform_files.h"
#include "database/database_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/socket.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace valdrex::cli {
namespace {

// "valdrex-solve: cannot save to 'FILE': REASON (lines FIRST-LAST not saved)" and a line end,
// without the lines when `firstLine` is 0 (an equation from the command line).
void AppendSaveFailure(std::string& err, std::string_view path, std::string_view reason,
                       int firstLine, int lastLine) {
    err += "valdrex-solve: cannot save to " + QuotedWhole(path) + ": ";
    err += reason;
    if (firstLine == lastLine && firstLine > 0)
        err += " (line " + std::to_string(firstLine) + " not saved)";
    else if (firstLine > 0)
        err +=
            " (lines " + std::to_string(firstLine) + "-" + std::to_string(lastLine) + " not saved)";
    err += '\n';
}

// Both ends are the same program on the same machine: the header is in its own byte order.
struct FrameHeader {
    std::uint32_t size;
    std::int32_t line;
};

// The child: appends every whole record received, until this end of the channel closes, then
// sends back the failure messages. It never returns.
[[noreturn]] void WriteRecordsReceived(int channel, const std::string& path, bool overwrite) {
    // Signals that end the run must not end the writes: the run ends, the channel closes and
    // the child follows once it has written what it received. A run gone away is no reason to
    // stop either.
    for (const int number : {SIGINT, SIGQUIT, SIGHUP, SIGTERM, SIGPIPE})
        std::signal(number, SIG_IGN);
    ::setpgid(0, 0);
    // Only the run reads standard input and writes standard output: their readers and writers
    // must see the end of the run, not of the child.
    const int nothing = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    ::dup2(nothing, STDIN_FILENO);
    ::dup2(nothing, STDOUT_FILENO);
    if (nothing > STDOUT_FILENO)
        ::close(nothing);

    LineAppender appender(path); // one open for the whole run
    RecordSaver saver(path, overwrite,
                      [&appender](const std::string& file, std::string_view line, bool emptyFirst) {
                          if (emptyFirst)
                              AppendLine(file, line, true);
                          else
                              appender.Append(line);
                      });
    RecordFrameReader frames;
    std::string err;
    bool outOfMemory = false;
    char buffer[1 << 16];
    try {
        for (;;) {
            const ssize_t got = ::read(channel, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            frames.Add(std::string_view(buffer, static_cast<std::size_t>(got)));
            while (const std::optional<RecordFrame> frame = frames.Next())
                saver.Save(frame->record, frame->line, err);
        }
    } catch (const std::bad_alloc&) {
        outOfMemory = true; // the run sees the channel close and keeps the records it still has
    }
    saver.Finish(err);
    if (outOfMemory)
        AppendSaveFailure(err, path, "out of memory", 0, 0);
    WriteAll(channel, err);
    ::_exit(saver.anyFailed() || outOfMemory ? 1 : 0);
}

// Sends the pieces one after another without joining them first: a long record is not copied.
int SendAll(int channel, std::array<std::string_view, 3> pieces) {
    for (std::size_t first = 0; first < pieces.size();) {
        std::array<iovec, 3> parts{};
        for (std::size_t k = first; k < pieces.size(); ++k)
            parts[k - first] = {const_cast<char*>(pieces[k].data()), pieces[k].size()};
        msghdr message{};
        message.msg_iov = parts.data();
        message.msg_iovlen = pieces.size() - first;
        const ssize_t sent = ::sendmsg(channel, &message, MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        for (auto left = static_cast<std::size_t>(sent); first < pieces.size(); ++first) {
            const std::size_t taken = std::min(left, pieces[first].size());
            pieces[first].remove_prefix(taken);
            left -= taken;
            if (!pieces[first].empty())
                break;
        }
    }
    return 0;
}

std::string ReadToEnd(int fd) {
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return text;
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

int WaitFor(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

} // namespace

std::string RecordFrameHeader(std::size_t size, int line) {
    const FrameHeader header{static_cast<std::uint32_t>(size), line};
    return std::string(reinterpret_cast<const char*>(&header), sizeof header);
}

void RecordFrameReader::Add(std::string_view bytes) {
    buffer_.erase(0, start_);
    start_ = 0;
    buffer_ += bytes;
    // Room for the whole of a long frame at once, rather than room doubled as it arrives.
    FrameHeader header{};
    if (buffer_.size() >= sizeof header) {
        std::memcpy(&header, buffer_.data(), sizeof header);
        buffer_.reserve(sizeof header + header.size);
    }
}

std::optional<RecordFrame> RecordFrameReader::Next() {
    FrameHeader header{};
    if (buffer_.size() - start_ < sizeof header)
        return std::nullopt;
    std::memcpy(&header, buffer_.data() + start_, sizeof header);
    if (buffer_.size() - start_ - sizeof header < header.size)
        return std::nullopt;
    const RecordFrame frame{header.line,
                            std::string_view(buffer_).substr(start_ + sizeof header, header.size)};
    start_ += sizeof header + header.size;
    return frame;
}

RecordSaver::RecordSaver(std::string path, bool overwrite, LineWriter writer)
    : path_(std::move(path)), truncateNext_(overwrite), writer_(std::move(writer)) {}

void RecordSaver::Save(std::string_view record, int line, std::string& err) {
    try {
        writer_(path_, record, truncateNext_);
    } catch (const RuntimeFailure& failure) {
        anyFailed_ = true;
        std::string reason = failure.description();
        if (failure_ && failure_->reason == reason) {
            failure_->lastLine = line;
            return;
        }
        Finish(err);
        failure_ = Failure{std::move(reason), line, line};
        return;
    }
    truncateNext_ = false; // emptied once; later records are appended
    Finish(err);
}

void RecordSaver::Finish(std::string& err) {
    if (!failure_)
        return;
    AppendSaveFailure(err, path_, failure_->reason, failure_->firstLine, failure_->lastLine);
    failure_.reset();
}

RecordWriterProcess::RecordWriterProcess(std::string path, bool overwrite)
    : path_(std::move(path)) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        handOverError_ = errno;
        return;
    }
    child_ = ::fork();
    if (child_ == 0) {
        ::close(ends[0]); // or the child would never see the end of the run
        WriteRecordsReceived(ends[1], path_, overwrite);
    }
    ::close(ends[1]);
    if (child_ < 0) {
        handOverError_ = errno;
        ::close(ends[0]);
        return;
    }
    channel_ = ends[0];
}

RecordWriterProcess::~RecordWriterProcess() {
    std::string unused;
    Finish(unused);
}

void RecordWriterProcess::Save(const RecordLine& record, int line) {
    if (handOverError_ == 0) {
        handOverError_ = SendAll(
            channel_, {RecordFrameHeader(record.size(), line), record.equation, record.tail});
        if (handOverError_ == 0)
            return;
    }
    if (!anyUnsent_)
        firstUnsent_ = line;
    lastUnsent_ = line;
    anyUnsent_ = true;
}

bool RecordWriterProcess::Finish(std::string& err) {
    bool failed = anyUnsent_;
    std::string reason = anyUnsent_ ? std::strerror(handOverError_) : "";
    if (child_ > 0) {
        ::shutdown(channel_, SHUT_WR);
        err += ReadToEnd(channel_);
        ::close(channel_);
        const int status = WaitFor(child_);
        child_ = -1;
        failed = failed || !WIFEXITED(status) || WEXITSTATUS(status) != 0;
        if (WIFSIGNALED(status))
            reason = std::string("its writing process ended: ") + ::strsignal(WTERMSIG(status));
    }
    if (!reason.empty())
        AppendSaveFailure(err, path_, reason, firstUnsent_, lastUnsent_);
    anyUnsent_ = false;
    return failed;
}

} // namespace valdrex::cli
