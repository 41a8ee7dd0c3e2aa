// Standard input read in chunks, and Ctrl+C just before a read.

#include "cli/standard_streams.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace valdrex::cli {
namespace {

// Every line of `input`, read through a pipe in chunks of `chunk` bytes; counts the reads. The
// inputs fit in the pipe's buffer, so they are written before the reading starts.
std::vector<std::string> ReadAll(const std::string& input, std::size_t chunk, int* reads,
                                 std::size_t maxLine = LineReader::kAnyLength) {
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    EXPECT_EQ(::write(fds[1], input.data(), input.size()), ssize_t(input.size()));
    ::close(fds[1]);
    LineReader reader(fds[0], chunk, nullptr, maxLine);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line, [&] { ++*reads; }))
        lines.emplace_back(line);
    ::close(fds[0]);
    EXPECT_EQ(reader.error(), 0);
    return lines;
}

// Of a line longer than the limit only its start is kept.
TEST(LineReaderTest, SplitsLinesAcrossChunksKeepingTheStartOfALineTooLong) {
    const std::string nul("x\0y", 3);
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}},
        {"\n", {""}},
        {"a", {"a"}},
        {"1 2\n3 4\r\n", {"1 2", "3 4\r"}},
        {"first\n\nlast without end", {"first", "", "last without end"}},
        {nul + "\n" + nul, {nul, nul}},
        {std::string(1000, 'z') + "\nq\n", {std::string(1000, 'z'), "q"}},
    };
    const std::string tooLong = "1234\n12345\n" + std::string(50000, 'x') + "\n\nlast";
    for (const std::size_t chunk : {1, 3, 7, 4096}) {
        for (const auto& [input, lines] : cases) {
            int reads = 0;
            EXPECT_EQ(ReadAll(input, chunk, &reads), lines) << chunk;
            EXPECT_GE(reads, 1);
        }
        int reads = 0;
        EXPECT_EQ(ReadAll(tooLong, chunk, &reads, 4),
                  (std::vector<std::string>{"1234", "12345", "xxxxx", "", "last"}))
            << chunk;
    }
}

// Ctrl+C pressed after the output was flushed and before the read began: the reader must not
// wait for input that never comes. (In a child process: the flag stays set.)
TEST(LineReaderTest, CtrlCJustBeforeAReadEndsTheInput) {
    EXPECT_EXIT(
        {
            CatchInterrupt();
            int fds[2];
            if (::pipe(fds) != 0) // the write end stays open: no input and no end of it
                std::exit(2);
            LineReader reader(fds[0], 16, WaitForInput);
            std::string_view line;
            ::alarm(10); // a lost press would wait for ever
            std::exit(reader.Next(line, [] { std::raise(SIGINT); }) || reader.error() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace valdrex::cli
