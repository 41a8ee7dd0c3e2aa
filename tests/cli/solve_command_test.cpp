// The program run as a user would run it: one equation on the command line.
#include "run_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace valdrex::cli::testing {
namespace {

namespace fs = std::filesystem;

// One case for each way through the program; the solvers' own tests hold the detail.
TEST(SolveCommandTest, PrintsWhatTheWindowShows) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"2", "-2", "-1"},
         "2·x^2 - 2·x - 1 = 0\nx1 = 1/ 2+ Sqr(3) /2\nx2 = 1/ 2- Sqr(3) /2\nSolutions found\n"},
        {{"--numeric", "1", "0", "4"}, "x^2 + 4 = 0\nx1 = 2i\nx2 =- 2i\nSolutions found\n"},
        {{"0.5", "1/4"}, "1/2·x + 1/4 = 0\nx1 =-.5\n"},
        {{"5"}, "5 = 0\nThe equation is impossible\n"},
        {{"0", "0"}, "0 = 0\nThe equation is undetermined\n"},
        {{"--method", "rational", "1", "-2", "1", "-2"},
         "x^3 - 2·x^2 + x - 2 = 0\nx1 = 2\nSolutions found\nIrreducible factor: x^2  + 1 \n"},
        {{"--method=bairstow", "--p=-5", "--q", "6", "1", "-6", "11", "-6"},
         "x^3 - 6·x^2 + 11·x - 6 = 0\nx1 = 3\nx2 = 2\nx3 = 1\nSolutions found\n"},
        {{"--method", "bisection", "--min", "10", "--max", "-10", "--inc", "-.1", "1", "-6", "11",
          "-6"},
         "x^3 - 6·x^2 + 11·x - 6 = 0\nx1 = 2.99999999701979\nx2 = 1.99999999701979\n"
         "x3 = .999999997019786\nSolutions found\n"},
        {{"--method", "newton", "--x0", "10", "1", "-6", "11", "-6"},
         "x^3 - 6·x^2 + 11·x - 6 = 0\nx1 = 3\nSolutions found\n"},
        {{"--method", "newton", "1", "0", "1", "0", "1"},
         "x^4 + x^2 + 1 = 0\nThe Newton's method is unuseful\n"},
        {{"--test", "3", "2", "-4"}, "2·x - 4 = 0\nx1 = 2\nP(3) = 2\n"},
        {{"--", "-1", "-1"}, "-x - 1 = 0\nx1 =-1\n"},
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
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"1", "1e5"}, "invalid coefficient '1e5'\n"},
        {{"1", "5/0"}, "Division by 0 in the constant term ('5/0')\n"},
        {{"3/0", "1"}, "Division by 0 in the coefficient of x ('3/0')\n"},
        {{"0/0", "1", "1"}, "Division by 0 in the coefficient of x^2 ('0/0')\n"},
        {{"--method", "newton", "1", "-3", "2"}, "the newton method is not offered for this"},
        {{"--accuracy", "9", "1"},
         "invalid value '9' for --accuracy (one digit, 0 to 8)\n"
         "Try 'valdrex-solve --help'.\n"},
    };
    for (const auto& [args, err] : cases) {
        const ProgramResult r = RunSolve(args);
        EXPECT_EQ(r.exitCode, 2) << err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.substr(0, err.size() + 15), "valdrex-solve: " + err);
    }
}

TEST(SolveCommandTest, HelpAndVersion) {
    const ProgramResult help = RunSolve({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: valdrex-solve", 0), 0u);
    EXPECT_NE(help.out.find("factor_coefficients"), std::string::npos);
    const ProgramResult version = RunSolve({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("valdrex-solve ") + VALDREX_VERSION + "\n");
}

TEST(SolveCommandTest, JsonAllRoots) {
    const ProgramResult r = RunSolve({"--json", "--method", "all", "1", "-1", "-1", "1", "0"});
    EXPECT_EQ(r.exitCode, 0);
    const std::string out = r.out.substr(r.out.find("\"all_roots\""));
    EXPECT_EQ(out.substr(0, out.find(",\"test\"")),
              "\"all_roots\":[{\"re\":-1,\"im\":0,\"multiplicity\":1,\"radius\":0,"
              "\"exact\":\"-1\",\"text\":\"-1\"},"
              "{\"re\":0,\"im\":0,\"multiplicity\":1,\"radius\":0,\"exact\":\"0\","
              "\"text\":\" 0\"},"
              "{\"re\":1,\"im\":0,\"multiplicity\":2,\"radius\":0,\"exact\":\"1\","
              "\"text\":\" 1 (multiplicity 2)\"}]");
    // Other methods add no all_roots.
    EXPECT_EQ(RunSolve({"--json", "1", "1"}).out.find("all_roots"), std::string::npos);
}

TEST(SolveCommandTest, JsonObject) {
    const ProgramResult r =
        RunSolve({"--json", "--method", "rational", "--test", "3", "1", "-2", "1", "-2"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "{\"equation\":\"x^3 - 2·x^2 + x - 2 = 0\",\"lines\":[\"x1 = 2\"],"
                     "\"roots\":[\" 2\"],\"status\":\"Solutions found\",\"factor\":\"x^2  + 1 \","
                     "\"factor_coefficients\":[1,0,1,0,0,0,0,0,0,0,0,0,0],"
                     "\"test\":{\"x\":\"3\",\"value\":\" 10\"},\"errors\":[],"
                     "\"record\":\"x^3 - 2·x^2 + x - 2 = 0; S={ 2}; P(3) = 10; R(x)=x^2+1\"}\n");
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
    std::string Bytes() const {
        std::ostringstream s;
        s << std::ifstream(file_, std::ios::binary).rdbuf();
        return s.str();
    }
};

TEST_F(SaveTest, AppendsTheDatabaseRecord) {
    EXPECT_EQ(RunSolve({"--save", file_, "2", "-4"}).exitCode, 0);
    const std::string record = "2\xB7x - 4 = 0; S={ 2}\r\n";
    EXPECT_EQ(Bytes(), record);
    EXPECT_EQ(RunSolve({"--save", file_, "--method=rational", "1", "-2", "1", "-2"}).exitCode, 0);
    EXPECT_EQ(Bytes(), record + "x^3 - 2\xB7x^2 + x - 2 = 0; S={ 2}; R(x)=x^2+1\r\n");
}

TEST_F(SaveTest, OverwriteEmptiesTheFileOnce) {
    std::ofstream(file_) << "old contents\r\n";
    const ProgramResult r =
        RunSolve({"--save", file_, "--overwrite", "--batch", "--test", "3"}, "2 -4\n1 -3 2\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(Bytes(), "2\xB7x - 4 = 0; S={ 2}; P(3) = 2\r\n"
                       "x^2 - 3\xB7x + 2 = 0; S={ 2; 1}; P(3) = 2\r\n");
}

TEST_F(SaveTest, AFailedSaveIsReportedAndExitsWithOne) {
    const ProgramResult r = RunSolve({"--save", (folder_ / "no" / "db.txt").string(), "2", "-4"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "2·x - 4 = 0\nx1 = 2\n");
    EXPECT_NE(r.err.find("No such file or directory"), std::string::npos) << r.err;
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
