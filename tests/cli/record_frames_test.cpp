// Records handed to the writing process: whole ones come out as sent, one cut short never does.
#include "cli/record_frames.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace valdrex::cli {
namespace {

using Received = std::vector<std::pair<int, std::string>>;

Received TakeAll(RecordFrameReader& reader) {
    Received records;
    while (const std::optional<RecordFrame> frame = reader.Next())
        records.emplace_back(frame->line, frame->record);
    return records;
}

TEST(RecordFramesTest, WholeFramesComeOutHoweverTheBytesArrive) {
    const Received sent = {{1, "x - 1 = 0; S={ 1}"},
                           {0, ""},
                           {7, std::string("a\0b\r\n", 5)},
                           {2147483647, std::string(70000, 'y')}};
    std::string bytes;
    for (const auto& [line, record] : sent)
        AppendRecordFrame(bytes, record, line);
    for (const std::size_t piece :
         {std::size_t{1}, std::size_t{5}, std::size_t{4096}, bytes.size()}) {
        SCOPED_TRACE(piece);
        RecordFrameReader reader;
        Received received;
        for (std::size_t at = 0; at < bytes.size(); at += piece) {
            reader.Add(std::string_view(bytes).substr(at, piece));
            for (auto& record : TakeAll(reader))
                received.push_back(std::move(record));
        }
        EXPECT_EQ(received, sent);
    }
}

TEST(RecordFramesTest, AFrameCutShortIsNeverGivenBack) {
    std::string bytes;
    AppendRecordFrame(bytes, "first", 1);
    const std::size_t firstEnd = bytes.size();
    AppendRecordFrame(bytes, "second", 2);
    for (std::size_t cut = firstEnd; cut < bytes.size(); ++cut) {
        RecordFrameReader reader;
        reader.Add(std::string_view(bytes).substr(0, cut));
        EXPECT_EQ(TakeAll(reader), (Received{{1, "first"}})) << cut;
    }
}

} // namespace
} // namespace valdrex::cli
