// Batch mode: the lines read, then the program answering one equation per line of standard input.

#include "cli/batch.h"

#include "run_program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace valdrex::cli::testing {
namespace {

// "skip", the coefficient texts joined by "|", "typed: " and a typed equation, or "! " and the
// error (the fuzzer checks the rule on any line; these pin the texts). `parsed` is reused, as the
// batch reader reuses it, so nothing may be left over from the line before.
std::string Parsed(std::string_view line, BatchLine& parsed) {
    ParseBatchLine(line, parsed);
    if (parsed.kind != BatchLine::Kind::Equation)
        return parsed.kind == BatchLine::Kind::Skip ? "skip" : "! " + parsed.error;
    if (!parsed.typed.empty())
        return "typed: " + std::string(parsed.typed);
    std::string text;
    for (int k = 0; k < parsed.count; ++k)
        text += (k ? "|" : "") + std::string(parsed.coefficients[k]);
    return text;
}

TEST(BatchLineTest, SplitsSkipsOrReportsTheFirstInvalidText) {
    const std::pair<std::string, std::string> cases[] = {
        {"1 -3 2", "1|-3|2"},
        {"\t 1\t\t-3   2 \t", "1|-3|2"},
        {"1 -3 2\r", "1|-3|2"},
        {"1 2 3 4 5 6 7 8 9 10 11 12 13", "1|2|3|4|5|6|7|8|9|10|11|12|13"},
        {"", "skip"},
        {"# 1 2 3", "skip"},
        {"#", "skip"},
        {"1 +2 -1.5e1 2.5/.5", "1|2|-15|5"},
        {"1 - 2", "! invalid coefficient '-'"},
        {"1 2 3 4 5 6 7 8 9 10 11 12 13 14", "! too many coefficients (14; at most 13)"},
        // Anything but numbers makes the line a typed equation.
        {" x^2 - 1\r", "typed:  x^2 - 1"},
        {"1 2 3 4 5 6 7 8 9 10 11 12 13 14 x", "typed: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 x"},
        {"1 2\r\r", "typed: 1 2\r"},
        {"1 2 #3", "typed: 1 2 #3"},
    };
    BatchLine parsed;
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(Parsed(line, parsed), expected) << line;
}

// The program's batch mode: one equation per line of standard input.
const std::string kInput = "1 -3 2\n"
                           "\n"
                           "# a comment\n"
                           "1 - 5\n"
                           "\t2\t-4\r\n"
                           "1 5/0\n"
                           "(x + 1/3)(x - 0.5e1)\n"
                           "(x - 1\n"
                           "3 4";

TEST(BatchCommandTest, PlainResultsAndErrorsInOrder) {
    const ProgramResult r = RunSolve({"--batch", "--method", "exact"}, kInput);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "x^2 - 3·x + 2 = 0\nx1 = 2\nx2 = 1\nSolutions found\n\n"
                     "2·x - 4 = 0\nx1 = 2\n\n"
                     "x^2 - 14/3·x - 5/3 = 0\nx1 = 5\nx2 =-1/ 3\nSolutions found\n\n"
                     "3·x + 4 = 0\nx1 =-1.333333\n\n");
    EXPECT_EQ(r.err, "valdrex-solve: line 4: invalid coefficient '-'\n"
                     "valdrex-solve: line 6: Division by 0 in the constant term ('5/0')\n"
                     "valdrex-solve: line 8: expected ')' at column 7\n");
}

// A solve's failure names its line from the first one on.
TEST(BatchCommandTest, AFailedSolveOfTheFirstLineNamesIt) {
    const ProgramResult r = RunSolve({"--batch"}, "1 " + std::string(10001, '7') + " 1\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "line 1: Error  1001. Overflow: the coefficient of x has more than 10,000 "
                     "significant digits\n");
}

TEST(BatchCommandTest, JsonObjectPerLine) {
    const ProgramResult r = RunSolve({"--batch", "--json"}, kInput);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "");
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 7u);
    const std::string first = "{\"schema\":2,\"line\":1,\"equation\":\"x^2 - 3·x + 2 = 0\",";
    EXPECT_EQ(lines[0].substr(0, first.size()), first);
    EXPECT_NE(lines[0].find("\"lines\":[\"x1 = 1\",\"x2 = 2\"]"), std::string::npos);
    EXPECT_EQ(lines[1], "{\"schema\":2,\"line\":4,\"error\":\"invalid coefficient '-'\"}");
    EXPECT_EQ(lines[2].substr(0, 21), "{\"schema\":2,\"line\":5,");
    EXPECT_EQ(lines[2].substr(lines[2].find("\"record\"")), "\"record\":\"2·x - 4 = 0; S={ 2}\"}");
    EXPECT_EQ(lines[3], "{\"schema\":2,\"line\":6,\"error\":\"Division by 0 in the constant term "
                        "('5/0')\"}");
    const std::string typed = "{\"schema\":2,\"line\":7,\"equation\":\"x^2 - 14/3·x - 5/3 = 0\",";
    EXPECT_EQ(lines[4].substr(0, typed.size()), typed);
    EXPECT_EQ(lines[5], "{\"schema\":2,\"line\":8,\"error\":\"expected ')' at column 7\"}");
    EXPECT_EQ(lines[6].substr(0, 21), "{\"schema\":2,\"line\":9,");
}

TEST(BatchCommandTest, AllLinesValidExitsWithZero) {
    const ProgramResult r = RunSolve({"--batch", "--method", "rational"}, "4 0 -1\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "4·x^2 - 1 = 0\nx1 =-1/ 2\nx2 = 1/ 2\nSolutions found\n\n");
    // A method the menu does not offer makes that line invalid only.
    const ProgramResult exact =
        RunSolve({"--batch", "--json", "--method", "exact"}, "1 0 0 0 0 0 1\n2 -4\n");
    EXPECT_EQ(exact.exitCode, 1);
    const std::vector<std::string> lines = Lines(exact.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 53),
              "{\"schema\":2,\"line\":1,\"error\":\"the exact method is not");
    EXPECT_EQ(lines[1].substr(0, 21), "{\"schema\":2,\"line\":2,");
}

TEST(BatchCommandTest, ErrorBoxTextsGoToStandardErrorWithTheirLine) {
    // P at 10^200 overflows: the Test command's error box, not an invalid line.
    const std::string huge = "1" + std::string(200, '0');
    const ProgramResult r = RunSolve({"--batch", "--method", "exact", "--test", huge}, "\n1 0 0\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "x^2 = 0\nx1 = 0\nx2 = 0\nSolutions found\n\n");
    EXPECT_EQ(r.err, "line 2: Error  1001. Overflow\n");
}

// A line is taken up to 1 MiB, line end aside; a longer one is refused without being held
// whole, even under a memory limit it would not fit in.
TEST(BatchCommandTest, LinesLongerThanOneMebibyteAreRefusedUnread) {
    std::string atLimit = "1 0 -4";
    atLimit.resize(kMaxBatchLineBytes, ' ');
    const std::string answer = "x^2 - 4 = 0\nx1 = 2\nx2 =-2\nSolutions found\n\n";
    const ProgramResult r =
        RunSolve({"--batch", "--method", "exact"}, atLimit + "\r\n" + atLimit + " \n");
    EXPECT_EQ(r.out, answer);
    EXPECT_EQ(r.err, "valdrex-solve: line 2: longer than 1 MiB\n");
    EXPECT_EQ(r.exitCode, 1);
#ifndef __SANITIZE_ADDRESS__ // which reserves more address space than the limit
    const ProgramResult huge =
        RunSolve({"--batch", "--jobs", "1", "--method", "exact"},
                 std::string(64 << 20, '1') + "\n" + atLimit + "\n", {.memoryLimit = 48 << 20});
    EXPECT_EQ(huge.out, answer);
    EXPECT_EQ(huge.err, "valdrex-solve: line 1: longer than 1 MiB\n");
#endif
}

// Under any memory limit a run answers, or ends with exit 1 and a message: never an abort.
TEST(BatchCommandTest, RunningOutOfMemoryIsAMessage) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit here";
#endif
    const std::string longest = "1 " + std::string(kMaxBatchLineBytes - 8, '0') + "1 -3\n";
    int ranOut = 0;
    for (rlim_t megabytes = 12; megabytes <= 40; megabytes += 4)
        for (const char* jobs : {"1", "2"}) {
            const ProgramResult r =
                RunSolve({"--batch", "--jobs", jobs, "--method", "exact"}, longest + "1 0 -4\n",
                         {.memoryLimit = megabytes << 20});
            EXPECT_TRUE(r.exitCode == 0 || (r.exitCode == 1 && r.err.ends_with("out of memory\n")))
                << megabytes << " MiB, " << jobs << " jobs: " << r.exitCode << " " << r.err;
            ranOut += r.exitCode == 1;
        }
    EXPECT_GT(ranOut, 0) << "no limit was low enough to test";
}

// A long line costs at most three times its length: three times its length more than the least
// address space a short line of the same shape is answered in is enough to answer it as without
// a limit, its answer in JSON and its record saved too (the record's writer is a process of its
// own, under the same limit). Long runs of digits are read without a copy for each reading.
TEST(BatchCommandTest, ALongLineNeedsAtMostThreeTimesItsLength) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit here";
#endif
    using Shape = std::string (*)(std::size_t);
    const Shape zeros = [](std::size_t n) { return "1 " + std::string(n, '0') + "3 2\n"; };
    const Shape sevens = [](std::size_t n) { return "1 0." + std::string(n, '7') + " 2\n"; };
    const std::size_t longest = kMaxBatchLineBytes - 6;
    const auto same = [](const ProgramResult& a, const ProgramResult& b) {
        return a.exitCode == b.exitCode && a.out == b.out && a.err == b.err;
    };
    const std::string save = "/tmp/valdrex-long-line-" + std::to_string(::getpid());
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--batch", "--jobs", "1"},
          std::vector<std::string>{"--batch", "--jobs", "1", "--method", "exact"},
          std::vector<std::string>{"--batch", "--jobs", "1", "--json", "--save", save,
                                   "--overwrite"}}) {
        for (const Shape line : {sevens, zeros}) {
            const ProgramResult shortAnswer = RunSolve(args, line(40));
            rlim_t fails = 0, answers = 64 << 20;
            while (answers - fails > (16 << 10)) {
                const rlim_t limit = (fails + answers) / 2;
                const bool answered =
                    same(RunSolve(args, line(40), {.memoryLimit = limit}), shortAnswer);
                (answered ? answers : fails) = limit;
            }
            const ProgramResult answer = RunSolve(args, line(longest));
            EXPECT_TRUE(same(
                RunSolve(args, line(longest), {.memoryLimit = answers + 3 * line(longest).size()}),
                answer))
                << args.back() << answer.err.substr(0, 100);
        }
    }
    EXPECT_EQ(Bytes(save),
              "x^2 + " + zeros(longest).substr(2, longest + 1) + "\xB7x + 2 = 0; S={-2;-1}\r\n");
    std::filesystem::remove(save);
}

// Every kind of line, over many chunks of work: answers, invalid lines, error messages (P at
// 10^150 overflows from degree 3 on), methods not offered, comments.
std::string MixedInput() {
    const std::string kinds[] = {
        "1 -3 2",     "x",         "1 0 0 -1",          "# note", "2 -4", "1 5/0", "", "1 2 3 4",
        "1 -6 11 -6", "3 1 4 1 5", "1 1/65536 1/65537", "0 0"};
    std::string input;
    for (int k = 0; k < 3000; ++k)
        input += kinds[(k * 7 + k / 13) % std::size(kinds)] + "\n";
    return input;
}

// Two chunks of work down the all-roots engine's slow paths: repeated roots, clusters, roots
// found by enclosures, and at the start of each chunk big discriminants whose square parts take
// a factorisation of a 66-bit integer, so that workers factor at the same time.
std::string HardRootsInput() {
    const std::string kinds[] = {"1 -4 6 -4 1",
                                 "1 -4.06 6.1811 -4.182206 1.061106",
                                 "1 -12 66 -220 495 -792 924 -792 495 -220 66 -12 1",
                                 "2048 0 -6144 0 6912 0 -3584 0 840 0 -72 0 1",
                                 "1 0 0 0 0 -3000000000000000000000000000001",
                                 "1 3 6 7 6 3 1"};
    const std::string factored[] = {"1 0 68403580095124459853", "1 0 19176227595363431149",
                                    "1 0 17179205547033580447", "1 0 27172983495094718597"};
    std::string input;
    for (int k = 0; k < 512; ++k)
        input += (k % 256 < 8 ? factored[k % 4] : kinds[k % std::size(kinds)]) + "\n";
    return input;
}

TEST(BatchCommandTest, JobsGiveTheBytesOfOneJob) {
    const std::string input = MixedInput();
    const std::string file = "/tmp/valdrex-solve-jobs-" + std::to_string(::getpid()) + ".txt";
    const std::string test = "1" + std::string(150, '0');
    for (const std::vector<std::string>& mode : {std::vector<std::string>{},
                                                 {"--json"},
                                                 {"--method", "bairstow", "--json"},
                                                 {"--method", "all"}}) {
        std::optional<ProgramResult> one;
        std::string oneFile;
        for (const std::string jobs : {"1", "2", "5"}) {
            std::vector<std::string> args = {"--batch", "--test",      test,     "--save",
                                             file,      "--overwrite", "--jobs", jobs};
            args.insert(args.end(), mode.begin(), mode.end());
            const bool allRoots = mode.size() == 2 && mode[1] == "all";
            const ProgramResult r = RunSolve(args, allRoots ? HardRootsInput() + input : input);
            const std::string saved = Bytes(file);
            if (!one) {
                one = r;
                oneFile = saved;
                EXPECT_EQ(r.exitCode, 1);
                EXPECT_GT(saved.size(), 10000u);
                continue;
            }
            SCOPED_TRACE(jobs);
            EXPECT_EQ(r.exitCode, one->exitCode);
            EXPECT_TRUE(r.out == one->out);
            EXPECT_TRUE(r.err == one->err);
            EXPECT_TRUE(saved == oneFile);
        }
    }
    std::remove(file.c_str());
}

// Ctrl+C while the program waits for input: what was answered and saved stays.
TEST(BatchCommandTest, CtrlCKeepsWhatWasWritten) {
    const std::string file = "/tmp/valdrex-solve-stop-" + std::to_string(::getpid()) + ".txt";
    for (const std::string jobs : {"1", "2"}) {
        std::remove(file.c_str());
        const ProgramResult r =
            RunSolve({"--batch", "--jobs", jobs, "--method", "exact", "--save", file}, "2 -4\n",
                     {.keepInputOpen = true, .interruptAtOutput = 1});
        EXPECT_EQ(r.exitCode, 130);
        EXPECT_EQ(r.out, "2·x - 4 = 0\nx1 = 2\n\n");
        EXPECT_EQ(Bytes(file), "2\xB7x - 4 = 0; S={ 2}\r\n");
    }
    // During a scan, on a worker: the lines before it are answered.
    const ProgramResult scan = RunSolve(
        {"--batch", "--jobs", "2", "--method", "bisection", "--long-scans", "--inc", ".000000001"},
        "1 0\n1 0 0 -1\n1 -1 0 0\n", {.interruptAfter = std::chrono::milliseconds(1000)});
    EXPECT_EQ(scan.exitCode, 130);
    EXPECT_EQ(scan.out, "");
    EXPECT_EQ(scan.err.substr(0, 58), "valdrex-solve: line 1: the bisection method is not offered");
    EXPECT_EQ(Lines(scan.err).size(), 1u);
    EXPECT_LT(scan.exitAfterInterrupt, std::chrono::seconds(5));
    std::remove(file.c_str());
}

} // namespace
} // namespace valdrex::cli::testing
