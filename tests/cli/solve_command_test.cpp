// The program run as a user would run it: one equation on the command line.
#include "run_program.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace valdrex::cli::testing {
namespace {

namespace fs = std::filesystem;

TEST(SolveCommandTest, PrintsWhatTheWindowShows) {
    const struct {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"1", "-3", "2"}, "x^2 - 3·x + 2 = 0\nx1 = 2\nx2 = 1\nSolutions found\n"},
        {{"--numeric", "1", "-3", "2"}, "x^2 - 3·x + 2 = 0\nx1 = 1\nx2 = 2\nSolutions found\n"},
        {{"-1", "3", "-2"}, "-x^2 + 3·x - 2 = 0\nx1 = 2\nx2 = 1\nSolutions found\n"},
        {{"2", "-2", "-1"},
         "2·x^2 - 2·x - 1 = 0\nx1 = 1/ 2+ Sqr(3) /2\nx2 = 1/ 2- Sqr(3) /2\nSolutions found\n"},
        {{"1", "2", "3"},
         "x^2 + 2·x + 3 = 0\nx1 =-1+ i·Sqr(2)\nx2 =-1- i·Sqr(2)\n"
         "Solutions found\n"},
        {{"--numeric", "1", "0", "4"}, "x^2 + 4 = 0\nx1 = 2i\nx2 =- 2i\nSolutions found\n"},
        {{"2", "-4"}, "2·x - 4 = 0\nx1 = 2\n"},
        {{"3", "4"}, "3·x + 4 = 0\nx1 =-1.333333\n"},
        {{"0.5", "1/4"}, "1/2·x + 1/4 = 0\nx1 =-.5\n"},
        {{"5"}, "5 = 0\nThe equation is impossible\n"},
        {{"0", "0"}, "0 = 0\nThe equation is undetermined\n"},
        {{"--method", "rational", "1", "-2", "1", "-2"},
         "x^3 - 2·x^2 + x - 2 = 0\nx1 = 2\nSolutions found\nIrreducible factor: x^2  + 1 \n"},
        {{"--method=rational", "2", "-3", "1"},
         "2·x^2 - 3·x + 1 = 0\nx1 = 1\nx2 = 1/ 2\nSolutions found\n"},
        {{"--method", "bairstow", "1", "-6", "11", "-6"},
         "x^3 - 6·x^2 + 11·x - 6 = 0\nx1 = 2\nx2 = 1\nx3 = 3\nSolutions found\n"},
        {{"--method", "bairstow", "1", "0", "0", "-1"},
         "x^3 - 1 = 0\nThe Baristow method is unuseful\n"},
        {{"--method", "bisection", "--inc", "1", "1", "-6", "11", "-6"},
         "x^3 - 6·x^2 + 11·x - 6 = 0\nx1 = 1\nx2 = 2\nx3 = 3\nSolutions found\n"},
        {{"--method", "bisection", "1", "0", "1", "0", "1"},
         "x^4 + x^2 + 1 = 0\nNo solution found\n"},
        {{"--method", "newton", "1", "0", "1", "0", "1"},
         "x^4 + x^2 + 1 = 0\nThe Newton's method is unuseful\n"},
        {{"--method", "newton", "1", "0", "0", "0"}, "x^3 = 0\nx1 = 0\nSolutions found\n"},
        {{"--test", "3", "2", "-4"}, "2·x - 4 = 0\nx1 = 2\nP(3) = 2\n"},
        {{"--test", "-1", "1", "-6", "11", "-6", "--method", "rational"},
         "x^3 - 6·x^2 + 11·x - 6 = 0\nx1 = 1\nx2 = 2\nx3 = 3\nSolutions found\nP(-1) =-24\n"},
        {{"--", "-1", "-1"}, "-x - 1 = 0\nx1 =-1\n"},
    };
    for (const auto& c : cases) {
        const ProgramResult r = RunSolve(c.args);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.exitCode, 0) << c.out;
    }
}

// Bisection and Newton print 15 digits: the roots are checked by value and order.
TEST(SolveCommandTest, ApproximateRootsInScanOrder) {
    const struct {
        std::vector<std::string> args;
        std::vector<double> roots;
    } cases[] = {
        {{"--method", "bisection", "1", "-6", "11", "-6"}, {1, 2, 3}},
        {{"--method", "bisection", "--min", "10", "--max", "-10", "--inc", "-.1", "1", "-6", "11",
          "-6"},
         {3, 2, 1}},
        {{"--method", "newton", "--x0", "10", "1", "-6", "11", "-6"}, {3}},
        {{"--method", "newton", "1", "-6", "11", "-6"}, {1}},
    };
    for (const auto& c : cases) {
        const ProgramResult r = RunSolve(c.args);
        ASSERT_EQ(r.exitCode, 0);
        const std::vector<std::string> lines = Lines(r.out);
        ASSERT_EQ(lines.size(), c.roots.size() + 2) << r.out;
        EXPECT_EQ(lines[0], "x^3 - 6·x^2 + 11·x - 6 = 0");
        for (std::size_t k = 0; k < c.roots.size(); ++k) {
            const std::string label = "x" + std::to_string(k + 1) + " =";
            ASSERT_EQ(lines[k + 1].substr(0, label.size()), label);
            EXPECT_NEAR(std::atof(lines[k + 1].c_str() + label.size()), c.roots[k], 1e-8);
        }
        EXPECT_EQ(lines.back(), "Solutions found");
    }
}

TEST(SolveCommandTest, UsageErrorsExitWithTwo) {
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"1", "1e5"}, "valdrex-solve: invalid coefficient '1e5'\n"},
        {{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14"},
         "valdrex-solve: too many coefficients (14; at most 13)\n"},
        {{"1", "5/0"}, "valdrex-solve: Division by 0 in the constant term ('5/0')\n"},
        {{"3/0", "1"}, "valdrex-solve: Division by 0 in the coefficient of x ('3/0')\n"},
        {{"0/0", "1", "1"}, "valdrex-solve: Division by 0 in the coefficient of x^2 ('0/0')\n"},
        {{"--method", "newton", "1", "-3", "2"},
         "valdrex-solve: the newton method is not offered for this equation: the approximate "
         "methods need a non-zero coefficient of x^3 or above; offered: exact and rational\n"},
        {{"1", "0", "0", "0", "0", "-1"},
         "valdrex-solve: the exact method is not offered for this equation: the formulas solve "
         "degree 4 at most, and a coefficient of x^5 or above is not zero; offered: rational, "
         "bairstow, bisection and newton\n"},
        {{"--accuracy", "9", "1"},
         "valdrex-solve: invalid value '9' for --accuracy (one digit, 0 to 8)\n"
         "Try 'valdrex-solve --help'.\n"},
    };
    for (const auto& c : cases) {
        const ProgramResult r = RunSolve(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err);
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

TEST(SolveCommandTest, JsonObject) {
    const ProgramResult r =
        RunSolve({"--json", "--method", "rational", "--test", "3", "1", "-2", "1", "-2"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "{\"equation\":\"x^3 - 2·x^2 + x - 2 = 0\",\"lines\":[\"x1 = 2\"],"
                     "\"roots\":[\" 2\"],\"status\":\"Solutions found\",\"factor\":\"x^2  + 1 \","
                     "\"factor_coefficients\":[1,0,1,0,0,0,0,0,0,0,0,0,0],"
                     "\"test\":{\"x\":\"3\",\"value\":\" 10\"},\"errors\":[],"
                     "\"record\":\"x^3 - 2·x^2 + x - 2 = 0; S={ 2}; P(3) = 10; R(x)=x^2+1\"}\n");

    const ProgramResult exact = RunSolve({"--json", "1", "-3", "2"});
    EXPECT_EQ(exact.out, "{\"equation\":\"x^2 - 3·x + 2 = 0\",\"lines\":[\"x1 = 2\",\"x2 = 1\"],"
                         "\"roots\":[\" 2\",\" 1\"],\"status\":\"Solutions found\","
                         "\"factor\":\"\",\"factor_coefficients\":null,\"test\":null,"
                         "\"errors\":[],\"record\":\"x^2 - 3·x + 2 = 0; S={ 2; 1}\"}\n");
}

class SaveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("valdrex-solve-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        file_ = (folder_ / "db.txt").string();
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Bytes() const {
        std::ifstream in(file_, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path folder_;
    std::string file_;
};

TEST_F(SaveTest, AppendsTheDatabaseRecord) {
    EXPECT_EQ(RunSolve({"--save", file_, "2", "-4"}).exitCode, 0);
    const std::string record = "2\xB7x - 4 = 0; S={ 2}\r\n";
    ASSERT_EQ(Bytes().size(), 21u);
    EXPECT_EQ(Bytes(), record);
    EXPECT_EQ(RunSolve({"--save", file_, "--method", "rational", "1", "-2", "1", "-2"}).exitCode,
              0);
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
    const std::string missing = (folder_ / "no" / "db.txt").string();
    const ProgramResult r = RunSolve({"--save", missing, "2", "-4"});
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
