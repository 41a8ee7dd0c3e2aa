#pragma once

#include <cstdio>
#include <string>

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
    // Writes standard output, then standard error.
    void Flush() {
        Write(out, stdout);
        Write(err, stderr);
    }

  private:
    static void Write(std::string& text, std::FILE* stream) {
        if (text.empty())
            return;
        std::fwrite(text.data(), 1, text.size(), stream);
        std::fflush(stream);
        text.clear();
    }
};

} // namespace valdrex::cli
