// Records saved by runs killed at any moment: no record is lost to, or joined with, another.

#include "file_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace valdrex::cli {
namespace {

std::uintmax_t SizeOf(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

// Runs `valdrex-solve --batch --save db` on `input`. With a delay, kills it that long after
// its first record reached the file, whatever the machine's load made of its start.
void RunBatch(const std::string& input, const std::string& db,
              std::optional<std::chrono::microseconds> delay) {
    const std::uintmax_t before = SizeOf(db);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(::open(input.c_str(), O_RDONLY), STDIN_FILENO);
        ::dup2(::open("/dev/null", O_WRONLY), STDOUT_FILENO);
        ::execl(VALDREX_SOLVE_PATH, VALDREX_SOLVE_PATH, "--batch", "--save", db.c_str(), nullptr);
        ::_exit(127);
    }
    int status = 0;
    if (delay) {
        while (SizeOf(db) == before && ::waitpid(pid, &status, WNOHANG) == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        std::this_thread::sleep_for(*delay);
        ::kill(pid, SIGKILL);
    }
    ::waitpid(pid, &status, 0);
}

std::vector<std::string> Records(const std::string& bytes) {
    std::vector<std::string> records;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        records.push_back(bytes.substr(start, end - start));
    if (start < bytes.size())
        records.push_back(bytes.substr(start)); // a last line without its line end
    return records;
}

TEST(SaveUnderKill, KilledRunsLeaveEveryRecordOnALineOfItsOwn) {
    char folder[] = "/tmp/valdrex-kill-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string input = std::string(folder) + "/in.txt", db = std::string(folder) + "/db";
    std::mt19937 random(20);
    std::string lines;
    for (int i = 0; i < 120; ++i)
        lines += std::to_string(1 + random() % 9) + " " + std::to_string(random() % 199) + " -" +
                 std::to_string(random() % 99) + " " + std::to_string(random() % 99) + " 7\n";
    Put(input, lines);
    RunBatch(input, db + ".whole", std::nullopt);
    const std::vector<std::string> whole = Records(Bytes(db + ".whole"));
    ASSERT_EQ(whole.size(), 120u);
    const std::set<std::string> known(whole.begin(), whole.end());

    // Each run appends to what the killed runs before it left.
    std::uniform_int_distribution<int> delay(0, 3000);
    for (int run = 0; run < 500; ++run)
        RunBatch(input, db, std::chrono::microseconds(delay(random)));
    // A kill that arrives while the kernel copies a record across a page boundary stops the
    // write there; such a cut record must stay a line of its own, never joined by the next.
    int saved = 0, cut = 0;
    for (const std::string& record : Records(Bytes(db))) {
        ++saved;
        if (known.contains(record))
            continue;
        const bool isCut = std::any_of(whole.begin(), whole.end(),
                                       [&](const std::string& w) { return w.starts_with(record); });
        cut += isCut;
        EXPECT_TRUE(isCut) << "damaged record: " << record;
    }
    EXPECT_LE(cut, 3) << "records cut short by the kills, of " << saved;
    EXPECT_GT(saved, 1000) << "the kills came too early to test anything";
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace valdrex::cli
