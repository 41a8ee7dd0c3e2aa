#include "app/main_model.h"

#include "core/failure.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace valdrex {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class MainModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            fs::temp_directory_path() /
            ("valdrex-model-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        state_.DatabaseFile = (folder_ / "db.txt").string();
    }
    void TearDown() override { fs::remove_all(folder_); }

    void Type(const std::map<int, std::string>& boxes) {
        for (const auto& [power, text] : boxes)
            EXPECT_TRUE(model_.SetCoefficient(power, text).empty());
    }
    std::string Database() const { return ReadBytes(state_.DatabaseFile); }

    fs::path folder_;
    ModuleState state_;
    MainModel model_{state_};
};

TEST_F(MainModelTest, SolvesAndAppendsTheRecord) {
    Type({{1, "2"}, {0, "-4"}});
    EXPECT_EQ(model_.equation(), "2·x - 4 = 0");
    EXPECT_TRUE(model_.Solve(SolveMethod::Exact).empty());
    EXPECT_EQ(model_.solutionLines(), std::vector<std::string>{"x1 = 2"});
    EXPECT_EQ(model_.solText()[1], " 2");
    EXPECT_EQ(model_.message(), "");
    EXPECT_EQ(Database(), "2\xB7x - 4 = 0; S={ 2}\r\n");
    EXPECT_EQ(Database().size(), 21u);
    EXPECT_EQ(model_.info(),
              "The equation and the solutions are saved in the file " + state_.DatabaseFile);

    // Test 3, annotate, Update: only the note line, since the solve saved the record.
    model_.SetInput("3");
    EXPECT_TRUE(model_.Test().empty());
    EXPECT_EQ(model_.output(), " 2");
    model_.SetNote("check");
    EXPECT_TRUE(model_.Update().empty());
    EXPECT_EQ(Database(), "2\xB7x - 4 = 0; S={ 2}\r\ncheck\r\n");
    EXPECT_EQ(model_.info(), "File " + state_.DatabaseFile + " updated.");
    EXPECT_EQ(model_.CopyAllText(), "2·x - 4 = 0; S={ 2}; P(3) = 2\r\ncheck");
    EXPECT_EQ(model_.info(), "Copy all texts in the clipboard: done!");
    EXPECT_TRUE(model_.Update().empty());
    EXPECT_EQ(Database(), "2\xB7x - 4 = 0; S={ 2}\r\ncheck\r\ncheck\r\n");
}

TEST_F(MainModelTest, UpdateWritesTheRecordWhenSolvesDoNot) {
    state_.SaveEquations = 0;
    Type({{1, "2"}, {0, "-4"}});
    model_.Solve(SolveMethod::Exact);
    EXPECT_EQ(model_.info(), "");
    EXPECT_FALSE(fs::exists(state_.DatabaseFile));
    model_.SetInput("3");
    model_.Test();
    model_.SetNote("check\nsecond line");
    EXPECT_TRUE(model_.Update().empty());
    EXPECT_EQ(Database(), "2\xB7x - 4 = 0; S={ 2}; P(3) = 2\r\ncheck\r\nsecond line\r\n");
}

TEST_F(MainModelTest, OverwriteKeepsOnlyTheNewestRecord) {
    state_.OverwriteFile = 1;
    Type({{1, "1"}, {0, "-1"}});
    model_.Solve(SolveMethod::Exact);
    Type({{0, "1"}});
    model_.Solve(SolveMethod::Exact);
    model_.SetNote("");
    model_.Update();
    EXPECT_EQ(Database(), "x + 1 = 0; S={-1}\r\n\r\n");
}

TEST_F(MainModelTest, AMissingFolderReportsOnceAndKeepsTheSolutions) {
    state_.DatabaseFile = (folder_ / "missing" / "db.txt").string();
    Type({{2, "1"}, {1, "-3"}, {0, "2"}});
    const ErrorBoxes errors = model_.Solve(SolveMethod::Exact);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, "2. No such file or directory");
    EXPECT_EQ(errors[0].icon, BoxIcon::None);
    EXPECT_EQ(errors[0].title, "Valdrex");
    EXPECT_EQ(model_.solutionLines(), (std::vector<std::string>{"x1 = 2", "x2 = 1"}));
    EXPECT_EQ(model_.message(), "Solutions found");
    EXPECT_EQ(model_.info(), "");
    EXPECT_TRUE(state_.ErrorFlag);

    EXPECT_EQ(model_.Update().size(), 1u);
    state_.SaveEquations = 0;
    EXPECT_EQ(model_.Update().size(), 1u);
    EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

TEST_F(MainModelTest, AZeroDenominatorStopsBeforeSolving) {
    Type({{2, "1"}, {1, "-3"}, {0, "2"}});
    model_.Solve(SolveMethod::Exact);
    const std::string saved = Database();
    Type({{3, "5/0"}, {1, "3/"}});
    EXPECT_TRUE(model_.Solve(SolveMethod::Exact).empty());
    EXPECT_EQ(model_.message(), "Division by 0");
    EXPECT_EQ(model_.TakeFocusRequest(), (FocusRequest{FocusRequest::Box::Coefficient, 1}));
    EXPECT_EQ(model_.TakeFocusRequest(), std::nullopt);
    EXPECT_EQ(model_.solutionLines(), (std::vector<std::string>{"x1 = 2", "x2 = 1"}));
    EXPECT_EQ(model_.solText()[1], " 2");
    EXPECT_EQ(Database(), saved);
}

TEST_F(MainModelTest, DegreeZeroMessages) {
    model_.Solve(SolveMethod::Exact);
    EXPECT_EQ(model_.message(), "The equation is undetermined");
    EXPECT_TRUE(model_.solutionLines().empty());
    Type({{0, "5"}});
    model_.Solve(SolveMethod::Exact);
    EXPECT_EQ(model_.message(), "The equation is impossible");
    EXPECT_EQ(Database(), "0 = 0; S={}\r\n5 = 0; S={}\r\n");
}

TEST_F(MainModelTest, RationalRootsLeaveTheFactorForPut) {
    Type({{3, "1"}, {2, "-2"}, {1, "1"}, {0, "-2"}});
    EXPECT_TRUE(model_.Solve(SolveMethod::Rational).empty());
    EXPECT_EQ(model_.solutionLines(), std::vector<std::string>{"x1 = 2"});
    EXPECT_EQ(model_.factor(), "x^2  + 1 ");
    EXPECT_TRUE(model_.putEnabled());
    EXPECT_EQ(Database(), "x^3 - 2\xB7x^2 + x - 2 = 0; S={ 2}; R(x)=x^2+1\r\n");

    EXPECT_TRUE(model_.Put().empty());
    EXPECT_EQ(model_.coefficients()[2], " 1");
    EXPECT_EQ(model_.coefficients()[1], " 0");
    EXPECT_EQ(model_.coefficients()[0], " 1");
    EXPECT_EQ(model_.coefficients()[12], " 0");
    EXPECT_EQ(model_.equation(), "x^2 + 1 = 0");
    EXPECT_EQ(model_.message(), "Coefficients transferred");
    EXPECT_FALSE(model_.putEnabled());

    // Any other solve empties the factor box.
    model_.Solve(SolveMethod::Exact);
    EXPECT_EQ(model_.factor(), "");
}

TEST_F(MainModelTest, ClearAllResetsEverything) {
    Type({{2, "1"}, {0, "-4"}});
    model_.Solve(SolveMethod::Exact);
    model_.SetNote("n");
    model_.SetInput("2");
    EXPECT_TRUE(model_.ClearAll().empty());
    for (const std::string& t : model_.coefficients())
        EXPECT_EQ(t, "0");
    EXPECT_EQ(model_.equation(), "0 = 0");
    EXPECT_TRUE(model_.solutionLines().empty());
    EXPECT_EQ(model_.message() + model_.info() + model_.note() + model_.input() + model_.output(),
              "");
}

TEST_F(MainModelTest, ACoefficientChangeEmptiesTheTestBoxes) {
    Type({{1, "1"}});
    model_.SetInput("4");
    model_.Test();
    EXPECT_EQ(model_.output(), " 4");
    Type({{0, "1"}});
    EXPECT_EQ(model_.input(), "");
    EXPECT_EQ(model_.output(), "");
}

TEST_F(MainModelTest, AnUnreducibleCoefficientKeepsTheEquationAndFlagsTheError) {
    Type({{2, "3"}});
    const ErrorBoxes errors = model_.SetCoefficient(2, "0/");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].icon, BoxIcon::None);
    EXPECT_EQ(model_.equation(), "3·x^2 = 0");
    EXPECT_TRUE(state_.ErrorFlag);
}

TEST_F(MainModelTest, TestReportsZeroDenominatorsAndOverflow) {
    Type({{1, "3/"}});
    model_.SetInput("2");
    EXPECT_TRUE(model_.Test().empty());
    EXPECT_EQ(model_.message(), "Division by 0");
    EXPECT_EQ(model_.TakeFocusRequest(), (FocusRequest{FocusRequest::Box::Coefficient, 1}));
    EXPECT_EQ(model_.output(), "");

    Type({{1, "1"}, {12, "1"}});
    model_.SetInput("1E40");
    const ErrorBoxes errors = model_.Test();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].title, "Error");
    EXPECT_EQ(errors[0].icon, BoxIcon::Critical);
    EXPECT_EQ(model_.output(), "");
}

TEST(MathsMenuEnabling, FollowsTheDegree) {
    CoefficientTexts t;
    t.fill("0");
    EXPECT_EQ(MathsMenuEnabling(t), (MathsMenuState{true, false, true}));
    t[5] = "-2";
    EXPECT_EQ(MathsMenuEnabling(t), (MathsMenuState{false, true, true}));
    t[5] = "0";
    t[4] = "1";
    EXPECT_EQ(MathsMenuEnabling(t), (MathsMenuState{true, true, true}));
    t[4] = "0";
    t[2] = t[1] = t[0] = "1";
    EXPECT_EQ(MathsMenuEnabling(t), (MathsMenuState{true, false, true}));
    t[12] = "1E999";
    EXPECT_EQ(MathsMenuEnabling(t), (MathsMenuState{false, true, true}));
}

} // namespace
} // namespace valdrex
