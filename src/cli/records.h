#pragma once

// The --save file: records handed to a process of their own, which appends them and tells each
// failure once.

#include "database/record.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace valdrex::cli {

// Records on their way to the process that writes the --save file, each framed by its length
// and input line, so that a message cut short by the sender's death is recognised as such and
// dropped instead of written.
struct RecordFrame {
    int line = 0;
    std::string_view record;
};

// The header of a record's frame: the record's `size` bytes follow it.
std::string RecordFrameHeader(std::size_t size, int line);

// Takes the bytes as they arrive and gives back the whole frames among them, in order.
class RecordFrameReader {
  public:
    void Add(std::string_view bytes);
    // The next whole frame, if one has arrived; its record stays valid until the next Add.
    std::optional<RecordFrame> Next();

  private:
    std::string buffer_;
    std::size_t start_ = 0; // where the first frame not given back begins
};

// Appends the records of a run to the --save file, one after another in input order, and tells
// of each failure once: a run of lines that failed the same way gives one message naming the
// file, the reason and the lines whose records are missing.
class RecordSaver {
  public:
    // Appends a line and CR LF to the file, emptying it first when asked; fails with a
    // RuntimeFailure.
    using LineWriter =
        std::function<void(const std::string& path, std::string_view utf8Line, bool truncateFirst)>;

    RecordSaver(std::string path, bool overwrite, LineWriter writer);

    // Saves the record of input line `line` (0 for an equation from the command line). The
    // message of a failure that ends here goes to `err`.
    void Save(std::string_view record, int line, std::string& err);
    // The message of the failure still going on, if any, to `err`.
    void Finish(std::string& err);

    bool anyFailed() const { return anyFailed_; }

  private:
    struct Failure {
        std::string reason;
        int firstLine = 0;
        int lastLine = 0;
    };

    std::string path_;
    bool truncateNext_;
    LineWriter writer_;
    std::optional<Failure> failure_;
    bool anyFailed_ = false;
};

// Writes the records of a run to the --save file from a child process of its own. A kill can
// cut a write to a file short (the kernel checks for it between pages), but the child is not the
// process killed: every record handed over whole is written whole, and a record cut short in
// the hand-over is dropped. The child leaves the terminal's process group, so Ctrl+C or a kill
// of the group ends the run without cutting off the writes, and it keeps standard error open
// until its last write. Should the child be killed too, the next writer of the file takes back
// what it left of a record (LineAppender). Start it while this process has no other thread.
class RecordWriterProcess {
  public:
    RecordWriterProcess(std::string path, bool overwrite);
    RecordWriterProcess(const RecordWriterProcess&) = delete;
    RecordWriterProcess& operator=(const RecordWriterProcess&) = delete;
    ~RecordWriterProcess();

    // Hands over the record of input line `line` (0 for an equation from the command line).
    void Save(const RecordLine& record, int line);
    // Waits until every record handed over is written, then tells each failure once to `err`:
    // a run of lines that failed the same way gives one message naming the lines. Returns
    // whether any record was not saved.
    bool Finish(std::string& err);

  private:
    std::string path_;
    int channel_ = -1; // records out, the child's failure messages back
    pid_t child_ = -1;
    // The errno that keeps records from reaching the child (it could not start, or is gone),
    // and the lines of the records it kept.
    int handOverError_ = 0;
    bool anyUnsent_ = false;
    int firstUnsent_ = 0, lastUnsent_ = 0;
};

} // namespace valdrex::cli
