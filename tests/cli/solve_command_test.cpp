// The program run as a user would run it: one equation on the command line.
#include "run_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>

namespace valdrex::cli::testing {
namespace {

namespace fs = std::filesystem;

// One case for each way through the program; the solvers' own tests hold the detail.
TEST(SolveCommandTest, PrintsWhatTheWindowShows) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--method", "exact", "2", "-2", "-1"},
         "2·x^2 - 2·x - 1 = 0\nx1 = 1/ 2+ Sqr(3) /2\nx2 = 1/ 2- Sqr(3) /2\nSolutions found\n"},
        {{"--method=exact", "--numeric", "1", "0", "4"},
         "x^2 + 4 = 0\nx1 = 2i\nx2 =- 2i\nSolutions found\n"},
        {{"--method", "exact", "0.5", "1/4"}, "1/2·x + 1/4 = 0\nx1 =-.5\n"},
        {{"5"}, "5 = 0\nThe equation is impossible\n"},
        // Every degree by default, with numbers in any notation the exact reader takes.
        {{"1", "0", "0", "0", "0", "+0e5", "-2.5e0/2.5"},
         "x^6 - 1 = 0\nx1 =-1\nx2 = 1\nx3 =-1/2+ i·Sqr(3) /2\nx4 =-1/2- i·Sqr(3) /2\n"
         "x5 =1/2+ i·Sqr(3) /2\nx6 =1/2- i·Sqr(3) /2\nSolutions found\n"},
        {{"x^3 - 6x^2 + 11x - 6 = 0"},
         "x^3 - 6·x^2 + 11·x - 6 = 0\nx1 = 1\nx2 = 2\nx3 = 3\nSolutions found\n"},
        {{"--method", "rational", "--equation", "-(x-1/2)^2(x\u00b2 + 1)"},
         "-x^4 + x^3 - 5/4·x^2 + x - 1/4 = 0\nx1 = 1/ 2\nx2 = 1/ 2\nSolutions found\n"
         "Irreducible factor: -4·x^2  - 4 \n"},
        {{"--method", "rational", "1", "-2", "1", "-2"},
         "x^3 - 2·x^2 + x - 2 = 0\nx1 = 2\nSolutions found\nIrreducible factor: x^2  + 1 \n"},
        {{"--method=bairstow", "--p=-5", "--q", "6", "1", "-6", "11", "-6"},
         "x^3 - 6·x^2 + 11·x - 6 = 0\nx1 = 3\nx2 = 2\nx3 = 1\nSolutions found\n"},
        {{"--method", "exact", "--test", "3", "2", "-4"}, "2·x - 4 = 0\nx1 = 2\nP(3) = 2\n"},
        {{"--method", "exact", "--", "-1", "-1"}, "-x - 1 = 0\nx1 =-1\n"},
        {{"--method", "all", "--digits", "4", "1", "0", "0", "0", "-1", "-1"},
         "x^5 - x - 1 = 0\nx1 = 1.167\nx2 =-.7649+ .3525i\nx3 =-.7649- .3525i\n"
         "x4 = .1812+ 1.084i\nx5 = .1812- 1.084i\nSolutions found\n"},
    };
    for (const auto& [args, out] : cases) {
        const ProgramResult r = RunSolve(args);
        EXPECT_EQ(r.out, out);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.exitCode, 0) << out;
    }
}

TEST(SolveCommandTest, UsageErrorsExitWithTwo) {
    std::string echo; // of a long invalid token, in part
    for (int k = 0; k < 40; ++k)
        echo += "\\xFF";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"1", "-", "2"}, "invalid coefficient '-'\nTry"},
        {{"1", "5/0"}, "Division by 0 in the constant term ('5/0')\n"},
        {{"--method", "exact", "1", "5/0e1"}, "Division by 0 in the constant term ('1/0')\n"},
        {{"--equation", "(x+1)^13"}, "degree 13 at column 7: at most 12\n"},
        {{"--method", "newton", "1", "-3", "2"}, "the newton method is not offered for this"},
        {{"--accuracy", "9", "1"},
         "invalid value '9' for --accuracy (one digit, 0 to 8)\n"
         "Try 'valdrex-solve --help'.\n"},
        {{"--method", "exact", "1", "-3", "99999999999"},
         "the constant term ('99999999999') is beyond the 32-bit range these methods use; "
         "--method all takes any size\n"},
        {{"--method", "bisection", "--inc", ".00000001", "--min", "-1", "--max", "1", "1", "0", "0",
          "-1"},
         "the bisection scan would take 200000000 steps; more than 100000000 need "
         "--long-scans\n"},
        {{"1", std::string(100000, '\xFF')}, "invalid coefficient '" + echo + "\u2026'\nTry"},
    };
    for (const auto& [args, err] : cases) {
        const ProgramResult r = RunSolve(args);
        EXPECT_EQ(r.exitCode, 2) << err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.substr(0, err.size() + 15), "valdrex-solve: " + err);
    }
}

TEST(SolveCommandTest, AnErrorMessageExitsWithOne) {
    const std::string huge = "1" + std::string(308, '0');
    const ProgramResult r = RunSolve({"--method", "newton", "--x0", huge, "1", "0", "0", "-1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "x^3 - 1 = 0\n");
    EXPECT_EQ(r.err, "Error  1001. Overflow\n");
    const ProgramResult json = RunSolve({"--json", "--test", huge, "1", "0", "0"});
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_NE(json.out.find("\"errors\":[{\"number\":1001,\"description\":\"Overflow\","
                            "\"text\":\"Error  1001. Overflow\""),
              std::string::npos);
    // Every box in the order it came: the typing's, then the test's, then the solve's.
    const ProgramResult exact = RunSolve({"--method", "exact", "--test", huge, ".1234567891", "1"});
    EXPECT_EQ(exact.err,
              "valdrex-solve: the coefficient of x ('.1234567891') is "
              "beyond the 32-bit range these methods use; --method all takes any size\n");
    // The all-roots method reads the coefficients exactly and shows what it read.
    const ProgramResult all = RunSolve({"--test", huge, ".1234567891", "1"});
    EXPECT_EQ(all.exitCode, 1);
    EXPECT_EQ(all.out.substr(0, 36), "1234567891/10000000000·x + 1 = 0\nx1");
    EXPECT_EQ(all.err, "Error  1001. Overflow\n");
}

// What is printed is what was solved, in a text that reads back to the same equation.
TEST(SolveCommandTest, TheEquationPrintedReadsBackToTheEquationSolved) {
    const ProgramResult r = RunSolve({"1", "-2.5e-40", "+3e30", "7/3"});
    ASSERT_EQ(r.exitCode, 0);
    const std::string equation = Lines(r.out)[0];
    EXPECT_EQ(equation, "x^3 - 1/4E39·x^2 + 3E30·x + 7/3 = 0");
    EXPECT_EQ(RunSolve({equation}).out, r.out);
}

// Plain numbers start no big-number library: a copy of the program without the module that
// holds them solves such an equation, and says what it misses for the others.
TEST(SolveCommandTest, PlainNumbersNeedNoModule) {
    const fs::path folder =
        fs::temp_directory_path() / ("valdrex-lone-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const RunSetup lone{.program = (folder / "valdrex-solve").string()};
    fs::copy_file(VALDREX_SOLVE_PATH, lone.program);
    const ProgramResult plain = RunSolve({"1", "-3", "2"}, "", lone);
    EXPECT_EQ(plain.out, "x^2 - 3·x + 2 = 0\nx1 = 1\nx2 = 2\nSolutions found\n");
    EXPECT_EQ(plain.exitCode, 0);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"1", "1e5"}, {"x^2 - 1"}}) {
        const ProgramResult r = RunSolve(args, "", lone);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find("valdrex-all-roots.so not found"), std::string::npos) << r.err;
    }
    fs::remove_all(folder);
}

TEST(SolveCommandTest, AFailedWriteToStandardOutputIsToldOnce) {
    std::string lines;
    for (int k = 0; k < 3000; ++k)
        lines += "1 -3 2\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"1", "-3", "2"}, ""},
        {{"--json", "1", "-3", "2"}, ""},
        {{"--help"}, ""},
        {{"--batch", "--jobs=1"}, lines},
        {{"--batch", "--jobs=2", "--json"}, lines},
    };
    for (const auto& [args, input] : cases) {
        const ProgramResult r = RunSolve(args, input, {.outputPath = "/dev/full"});
        EXPECT_EQ(r.exitCode, 1) << args[0];
        EXPECT_EQ(r.err, "valdrex-solve: write error: No space left on device\n");
    }
}

// Ctrl+C ends a long scan and a hard all-roots solve (the engine checks its stop flag between
// steps) at once; nothing is printed or saved for the equation cut short. The limit leaves room
// for a loaded machine; the program takes a few milliseconds.
TEST(SolveCommandTest, CtrlCEndsALongSolve) {
    const std::string file = "/tmp/valdrex-solve-scan-" + std::to_string(::getpid()) + ".txt";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--save", file, "--method", "bisection", "--long-scans", "--inc",
                                   ".000000001", "1", "0", "0", "-1"},
          std::vector<std::string>{"--save", file, "--method", "all",
                                   "x^12 - 2(10^50000 x - 1)^2"}}) {
        const ProgramResult r =
            RunSolve(args, "", {.interruptAfter = std::chrono::milliseconds(300)});
        EXPECT_EQ(r.exitCode, 130) << args[3];
        EXPECT_LT(r.exitAfterInterrupt, std::chrono::milliseconds(500)) << args[3];
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "");
        EXPECT_FALSE(fs::exists(file));
    }
}

// The members of a JSON object, each with the keys of the objects inside its value.
std::map<std::string, std::set<std::string>> KeysOf(const std::string& json) {
    std::map<std::string, std::set<std::string>> keys;
    std::string member;
    int depth = 0;
    for (std::size_t i = 0; i < json.size(); ++i) {
        if (json[i] == '{' || json[i] == '[')
            ++depth;
        else if (json[i] == '}' || json[i] == ']')
            --depth;
        if (json[i] != '"')
            continue;
        const std::size_t start = i + 1;
        for (++i; json[i] != '"'; ++i)
            i += json[i] == '\\' ? 1 : 0;
        const std::string key = json.substr(start, i - start);
        if (json[i + 1] == ':' && depth == 1)
            keys[member = key];
        else if (json[i + 1] == ':')
            keys[member].insert(key);
    }
    return keys;
}

// The help's account of the JSON output, read against the output: its list ("  name  what it
// is", continued by deeper lines) names every member, each member's entry quotes the keys of the
// objects it holds.
TEST(SolveCommandTest, TheHelpDescribesTheJsonOutput) {
    const std::string help = RunSolve({"--help"}).out;
    const std::size_t from = help.find("JSON output"), to = help.find("In batch mode");
    std::istringstream list(help.substr(from, to - from));
    std::map<std::string, std::string> listed;
    std::string line, name;
    std::getline(list, line);
    while (std::getline(list, line)) {
        if (line[2] != ' ')
            name = line.substr(2, line.find(' ', 2) - 2);
        listed[name] += line + "\n";
    }
    const std::string huge = "1" + std::string(308, '0');
    const std::string out =
        RunSolve({"--json", "--method", "all", "--test", huge, "1", "0", "-2"}).out;
    const auto keys = KeysOf(out);
    EXPECT_EQ(keys.size(), listed.size());
    for (const auto& [member, inner] : keys) {
        ASSERT_TRUE(listed.contains(member)) << member;
        for (const std::string& key : inner)
            EXPECT_NE(listed[member].find('"' + key + '"'), std::string::npos) << member << key;
    }
    const auto valueAfter = [](const std::string& json, const std::string& key) {
        const std::size_t at = json.find(key) + key.size();
        return json.substr(at, json.find_first_of(",}", at) - at);
    };
    const std::string schema = valueAfter(out, "{\"schema\":");
    EXPECT_NE(listed["schema"].find("now " + schema + "\n"), std::string::npos) << schema;
    EXPECT_NE(listed["errors"].find(valueAfter(out, "\"icon\":")), std::string::npos);
    // A batch adds "line" after "schema".
    const std::string batch = RunSolve({"--batch", "--json"}, "1 -3 2\n").out;
    EXPECT_EQ(batch.find("{\"schema\":" + schema + ",\"line\":1,"), 0u);
    EXPECT_NE(help.find("each object has \"line\" (the input line number) after \"schema\""),
              std::string::npos);
}

TEST(SolveCommandTest, HelpAndVersion) {
    const ProgramResult help = RunSolve({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: valdrex-solve", 0), 0u);
    EXPECT_NE(help.out.find("  130  ended by Ctrl+C"), std::string::npos);
    const ProgramResult version = RunSolve({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("valdrex-solve ") + VALDREX_VERSION + "\n");
}

TEST(SolveCommandTest, JsonAllRoots) {
    const ProgramResult r = RunSolve({"--json", "--method", "all", "1", "-1", "-1", "1", "0"});
    EXPECT_EQ(r.exitCode, 0);
    const std::string out = r.out.substr(r.out.find("\"all_roots\""));
    EXPECT_EQ(out.substr(0, out.find(",\"test\"")),
              "\"all_roots\":[{\"re\":-1,\"im\":0,\"re_decimal\":\"-1\",\"im_decimal\":\"0\","
              "\"multiplicity\":1,\"radius\":0,\"exact\":\"-1\",\"text\":\"-1\"},"
              "{\"re\":0,\"im\":0,\"re_decimal\":\"0\",\"im_decimal\":\"0\",\"multiplicity\":1,"
              "\"radius\":0,\"exact\":\"0\",\"text\":\" 0\"},"
              "{\"re\":1,\"im\":0,\"re_decimal\":\"1\",\"im_decimal\":\"0\",\"multiplicity\":2,"
              "\"radius\":0,\"exact\":\"1\",\"text\":\" 1 (multiplicity 2)\"}]");
    // Every digit asked, beside the doubles.
    const std::string digits = RunSolve({"--json", "--digits", "30", "1", "0", "0", "-2"}).out;
    for (const char* field :
         {"\"re_decimal\":\"1.25992104989487316476721060728\",\"im_decimal\":\"0\"",
          "\"re_decimal\":\"-0.629960524947436582383605303639\","
          "\"im_decimal\":\"-1.09112363597172140356007261419\""})
        EXPECT_NE(digits.find(field), std::string::npos) << field;
    // Other methods add no all_roots.
    EXPECT_EQ(RunSolve({"--json", "--method", "exact", "1", "1"}).out.find("all_roots"),
              std::string::npos);
}

// Each test works in a folder of its own, removed afterwards.
class SaveTest : public ::testing::Test {
  protected:
    const fs::path folder_ = fs::temp_directory_path() /
                             ("valdrex-solve-" + std::to_string(::getpid()) + "-" +
                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    const std::string file_ = (folder_ / "db.txt").string();

    void SetUp() override { fs::create_directories(folder_); }
    void TearDown() override { fs::remove_all(folder_); }
};

TEST_F(SaveTest, OverwriteEmptiesTheFileOnce) {
    Put(file_, "old contents\r\n");
    const ProgramResult r =
        RunSolve({"--save", file_, "--overwrite", "--batch", "--test", "3", "--method", "exact"},
                 "2 -4\n1 -3 2\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(Bytes(file_), "2\xB7x - 4 = 0; S={ 2}; P(3) = 2\r\n"
                            "x^2 - 3\xB7x + 2 = 0; S={ 2; 1}; P(3) = 2\r\n");
}

// A file name is bytes: one that is not UTF-8 names that very file, overwritten, then appended
// the next record.
TEST_F(SaveTest, AFileNameIsTakenByteForByteAndEachRecordAppended) {
    const std::string name = (folder_ / "db\xFF.txt").string();
    EXPECT_EQ(RunSolve({"--overwrite", "--save", name, "2", "-4"}).exitCode, 0);
    EXPECT_EQ(RunSolve({"--save", name, "--method=rational", "1", "-2", "1", "-2"}).exitCode, 0);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_))
        names.push_back(entry.path().string());
    EXPECT_EQ(names, std::vector<std::string>{name});
    EXPECT_EQ(Bytes(name),
              "2\xB7x - 4 = 0; S={ 2}\r\nx^3 - 2\xB7x^2 + x - 2 = 0; S={ 2}; R(x)=x^2+1\r\n");
}

TEST_F(SaveTest, AFailedSaveIsReportedAndExitsWithOne) {
    const std::string missing = (folder_ / "no" / "db.txt").string();
    const ProgramResult r = RunSolve({"--save", missing, "2", "-4"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "2·x - 4 = 0\nx1 = 2\nSolutions found\n");
    EXPECT_EQ(r.err,
              "valdrex-solve: cannot save to '" + missing + "': No such file or directory\n");
}

TEST_F(SaveTest, AFailedSaveIsToldOnceForItsLines) {
    const ProgramResult r = RunSolve({"--batch", "--save", "/dev/full"}, "2 -4\nx +\n\n1 -3 2\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "valdrex-solve: line 2: expected a number or x at column 4\n"
                     "valdrex-solve: cannot save to '/dev/full': No space left on device "
                     "(lines 1-4 not saved)\n");
}

TEST_F(SaveTest, NothingIsWrittenWithoutSave) {
    const fs::path before = fs::current_path();
    fs::current_path(folder_);
    EXPECT_EQ(RunSolve({"2", "-4"}).exitCode, 0);
    fs::current_path(before);
    EXPECT_TRUE(fs::is_empty(folder_));
}

} // namespace
} // namespace valdrex::cli::testing
