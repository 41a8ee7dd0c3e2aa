#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace valdrex::cli {

// Records on their way to the process that writes the --save file, each framed by its length
// and input line, so that a message cut short by the sender's death is recognised as such and
// dropped instead of written.
struct RecordFrame {
    int line = 0;
    std::string_view record;
};

void AppendRecordFrame(std::string& bytes, std::string_view record, int line);

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

} // namespace valdrex::cli
