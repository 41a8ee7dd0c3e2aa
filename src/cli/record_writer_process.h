#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

namespace valdrex::cli {

// Writes the records of a run to the --save file from a child process of its own. A kill can
// cut a write to a file short (the kernel checks for it between pages), but the child is not the
// process killed: every record handed over whole is written whole, and a record cut short in
// the hand-over is dropped. The child leaves the terminal's process group, so Ctrl+C ends the
// run without cutting off the writes, and it keeps standard error open until its last write.
// Start it while this process has no other thread.
class RecordWriterProcess {
  public:
    RecordWriterProcess(std::string path, bool overwrite);
    RecordWriterProcess(const RecordWriterProcess&) = delete;
    RecordWriterProcess& operator=(const RecordWriterProcess&) = delete;
    ~RecordWriterProcess();

    // Hands over the record of input line `line` (0 for an equation from the command line).
    void Save(std::string_view record, int line);
    // Waits until every record handed over is written, then tells each failure once to `err`:
    // a run of lines that failed the same way gives one message naming the lines. Returns
    // whether any record was not saved.
    bool Finish(std::string& err);

  private:
    std::string path_;
    int channel_ = -1; // records out, the child's failure messages back
    pid_t child_ = -1;
    std::string frame_;
    // The errno that keeps records from reaching the child (it could not start, or is gone),
    // and the lines of the records it kept.
    int handOverError_ = 0;
    bool anyUnsent_ = false;
    int firstUnsent_ = 0, lastUnsent_ = 0;
};

} // namespace valdrex::cli
