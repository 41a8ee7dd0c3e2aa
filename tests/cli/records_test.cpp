// The --save file: records framed for the writing process, failures told once, and runs killed
// at any moment leaving every record whole.

#include "cli/records.h"

#include "child_process.h"
#include "core/failure.h"
#include "file_bytes.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace valdrex::cli {
namespace {

// Records handed to the writing process: whole ones come out as sent, one cut short never does.
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
        bytes += RecordFrameHeader(record.size(), line) + record;
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
    bytes += RecordFrameHeader(5, 1) + "first";
    const std::size_t firstEnd = bytes.size();
    bytes += RecordFrameHeader(6, 2) + "second";
    for (std::size_t cut = firstEnd; cut < bytes.size(); ++cut) {
        RecordFrameReader reader;
        reader.Add(std::string_view(bytes).substr(0, cut));
        EXPECT_EQ(TakeAll(reader), (Received{{1, "first"}})) << cut;
    }
}

// A file that fails as the table says for each record, by its text.
std::map<std::string, int, std::less<>> failures;
std::vector<std::pair<std::string, bool>> written;

void FakeWriter(const std::string& path, std::string_view line, bool truncateFirst) {
    EXPECT_EQ(path, "db\xFF.txt");
    if (const auto found = failures.find(line); found != failures.end())
        throw FileFailure(found->second);
    written.emplace_back(line, truncateFirst);
}

TEST(RecordSaverTest, EachRunOfLikeFailuresIsToldOnce) {
    failures = {{"full", ENOSPC}, {"denied", EACCES}};
    written.clear();
    RecordSaver saver("db\xFF.txt", true, FakeWriter);
    std::string err;
    const std::pair<std::string, int> records[] = {{"full", 3}, {"full", 4},    {"full", 9},
                                                   {"a", 10},   {"full", 11},   {"denied", 12},
                                                   {"b", 13},   {"denied", 14}, {"denied", 15}};
    for (const auto& [record, line] : records) {
        saver.Save(record, line, err);
        if (line == 10) {
            EXPECT_EQ(err, "valdrex-solve: cannot save to 'db\\xFF.txt': No space left on device "
                           "(lines 3-9 not saved)\n");
        }
    }
    saver.Finish(err);
    EXPECT_EQ(err, "valdrex-solve: cannot save to 'db\\xFF.txt': No space left on device "
                   "(lines 3-9 not saved)\n"
                   "valdrex-solve: cannot save to 'db\\xFF.txt': No space left on device "
                   "(line 11 not saved)\n"
                   "valdrex-solve: cannot save to 'db\\xFF.txt': Permission denied "
                   "(line 12 not saved)\n"
                   "valdrex-solve: cannot save to 'db\\xFF.txt': Permission denied "
                   "(lines 14-15 not saved)\n");
    EXPECT_TRUE(saver.anyFailed());
    // The file is emptied by the first record written, not by one that failed.
    EXPECT_EQ(written, (std::vector<std::pair<std::string, bool>>{{"a", true}, {"b", false}}));
    // One equation, line 0, names no line.
    RecordSaver one("db\xFF.txt", false, FakeWriter);
    err.clear();
    one.Save("full", 0, err);
    one.Finish(err);
    EXPECT_EQ(err, "valdrex-solve: cannot save to 'db\\xFF.txt': No space left on device\n");
}

// Records saved by runs killed at any moment: every record in the file is whole, on a line of
// its own.

// Starts `valdrex-solve --batch --save db` on `input`, in a process group of its own as a shell
// would start it. With a delay, kills it, or its whole group, that long after a record last
// reached the file, whatever the machine's load made of its start. Returns the read end of its
// standard error.
int StartBatch(const std::string& input, const std::string& db,
               std::optional<std::chrono::microseconds> delay, bool killGroup) {
    const std::uintmax_t before = FileSize(db);
    int err[2];
    if (::pipe(err) != 0)
        return -1;
    const pid_t pid = SpawnChild([&] {
        ::setpgid(0, 0);
        ::dup2(::open(input.c_str(), O_RDONLY), STDIN_FILENO);
        ::dup2(::open("/dev/null", O_WRONLY), STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        ::close(err[0]);
        ::execl(VALDREX_SOLVE_PATH, VALDREX_SOLVE_PATH, "--batch", "--save", db.c_str(), nullptr);
    });
    ::close(err[1]);
    int status = 0;
    if (delay) {
        while (FileSize(db) == before && ::waitpid(pid, &status, WNOHANG) == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        std::this_thread::sleep_for(*delay);
        ::kill(killGroup ? -pid : pid, SIGKILL);
    }
    ::waitpid(pid, &status, 0);
    return err[0];
}

// The kills of a release build; a build under AddressSanitizer starts each run several times
// slower and is here for memory faults, which fewer runs find as well.
#ifdef __SANITIZE_ADDRESS__
constexpr int kRuns = 100;
#else
constexpr int kRuns = 500;
#endif

TEST(SaveUnderKill, KilledRunsLeaveEveryRecordOnALineOfItsOwn) {
    // A writer may still be in AddressSanitizer's leak check when its kill comes; that report
    // is not the program's output.
    ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
    char folder[] = "/tmp/valdrex-kill-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string input = std::string(folder) + "/in.txt", db = std::string(folder) + "/db";
    std::mt19937 random(20);
    std::string lines;
    for (int i = 0; i < 120; ++i)
        lines += std::to_string(1 + random() % 9) + " " + std::to_string(random() % 199) + " -" +
                 std::to_string(random() % 99) + " " + std::to_string(random() % 99) + " 7\n";
    Put(input, lines);
    ASSERT_EQ(ReadToEnd(StartBatch(input, db + ".whole", std::nullopt, false)), "");
    const std::vector<std::string> whole = Lines(Bytes(db + ".whole"), "\r\n");
    ASSERT_EQ(whole.size(), 120u);
    const std::set<std::string> known(whole.begin(), whole.end());

    // Each run appends to what the killed runs before it left, while the writers of the last
    // few, which outlive their runs, still append what they were handed.
    std::uniform_int_distribution<int> delay(0, 3000);
    std::deque<int> errors;
    for (int run = 0; run < kRuns; ++run) {
        errors.push_back(StartBatch(input, db, std::chrono::microseconds(delay(random)), run % 2));
        if (errors.size() > 3 || run == kRuns - 1)
            while (!errors.empty()) {
                EXPECT_EQ(ReadToEnd(errors.front()), "");
                errors.pop_front();
            }
    }
    // A kill that arrives while the kernel copies a record across a page boundary would stop
    // the write there, had the killed process been the one writing.
    int saved = 0, damaged = 0;
    for (const std::string& record : Lines(Bytes(db), "\r\n")) {
        ++saved;
        if (!known.contains(record) && ++damaged <= 5)
            ADD_FAILURE() << "damaged record: " << record;
    }
    EXPECT_EQ(damaged, 0) << "records cut or joined by the kills, of " << saved;
    EXPECT_GT(saved, 2 * kRuns) << "the kills came too early to test anything";
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace valdrex::cli
