#pragma once

#include "core/platform_files.h"

#include <string>
#include <string_view>

namespace valdrex::cli {

// Standard output and standard error collected in memory and written in large chunks.
class OutputBuffers {
  public:
    static constexpr std::size_t kFlushSize = 1 << 16;

    std::string out;
    std::string err;

    // Writes both when standard output holds a large chunk.
    void FlushIfFull() {
        if (out.size() >= kFlushSize)
            Flush();
    }
    // Writes standard output, then standard error. After a failed write to standard output,
    // what is meant for it is dropped.
    void Flush();

    // errno of the first failed write to standard output, 0 while every write succeeded.
    int outError() const { return outError_; }

  private:
    int outError_ = 0;
};

// "valdrex-solve: write error: <reason>" on standard error when standard output failed; returns
// whether it did.
bool ReportOutputError(int error);

} // namespace valdrex::cli
