#include "cli/record_frames.h"

#include <cstdint>
#include <cstring>

namespace valdrex::cli {
namespace {

// Both ends are the same program on the same machine: the header is in its own byte order.
struct FrameHeader {
    std::uint32_t size;
    std::int32_t line;
};

} // namespace

void AppendRecordFrame(std::string& bytes, std::string_view record, int line) {
    const FrameHeader header{static_cast<std::uint32_t>(record.size()), line};
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    bytes += record;
}

void RecordFrameReader::Add(std::string_view bytes) {
    buffer_.erase(0, start_);
    start_ = 0;
    buffer_ += bytes;
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

} // namespace valdrex::cli
