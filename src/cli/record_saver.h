#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace valdrex::cli {

// Appends the records of a run to the --save file, one after another in input order, and tells
// of each failure once: a run of lines that failed the same way gives one message naming the
// file, the reason and the lines whose records are missing.
class RecordSaver {
  public:
    // Appends a line and CR LF to the file, emptying it first when asked; fails with a
    // RuntimeFailure.
    using LineWriter = void (*)(const std::string& path, std::string_view utf8Line,
                                bool truncateFirst);

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

// "valdrex-solve: cannot save to 'FILE': REASON (lines FIRST-LAST not saved)" and a line end,
// without the lines when `firstLine` is 0 (an equation from the command line).
void AppendSaveFailure(std::string& err, std::string_view path, std::string_view reason,
                       int firstLine, int lastLine);

} // namespace valdrex::cli
