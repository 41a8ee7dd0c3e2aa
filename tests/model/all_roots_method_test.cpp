#include "model/main_model.h"

#include "file_bytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

namespace valdrex {
namespace {

using Lines = std::vector<std::string>;

class AllRootsMethodTest : public ::testing::Test {
  protected:
    AllRootsMethodTest() { state_.DatabaseFile = dir_.filePath("db.txt").toStdString(); }

    ErrorBoxes Solve(const std::map<int, std::string>& boxes, const std::string& digits = "15") {
        model_.ClearAll();
        for (const auto& [power, text] : boxes)
            model_.SetCoefficient(power, text);
        MethodOptions options;
        options.DigitsText = digits;
        last_ = model_.Solve(SolveMethod::AllRoots, options);
        return ErrorBoxes(last_.errors.begin(), last_.errors.end());
    }

    SolveResult last_;
    QTemporaryDir dir_;
    ModuleState state_;
    MainModel model_{state_};
};

TEST_F(AllRootsMethodTest, ListsEveryRootInTheHouseStyle) {
    const struct {
        std::map<int, std::string> boxes;
        std::string digits;
        Lines lines;
        std::string status;
    } cases[] = {
        {{{3, "1"}, {0, "-2"}},
         "5",
         {"x1 = 1.2599", "x2 =-.62996+ 1.0911i", "x3 =-.62996- 1.0911i"},
         "Solutions found"},
        // (x-1)(x-1.01)(x-1.02)(x-1.03): denominators beyond the grid's 32-bit reading.
        {{{4, "1"}, {3, "-4.06"}, {2, "6.1811"}, {1, "-4.182206"}, {0, "1.061106"}},
         "15",
         {"x1 = 1", "x2 = 101/ 100", "x3 = 51/ 50", "x4 = 103/ 100"},
         "Solutions found"},
        // Degree 0 answers as the exact method, a constant beyond 32 bits too.
        {{}, "15", {}, "The equation is undetermined"},
        {{{0, "99999999999"}}, "15", {}, "The equation is impossible"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Solve(c.boxes, c.digits), ErrorBoxes{});
        EXPECT_EQ(model_.solutionLines(), c.lines) << model_.equation();
        EXPECT_EQ(model_.message(), c.status) << model_.equation();
        EXPECT_EQ(model_.allRoots().size(), c.lines.size());
    }
    // The record holds the same texts, in Windows-1252.
    Solve({{4, "1"}, {3, "-2"}, {2, "1"}});
    EXPECT_EQ(model_.solutionLines(),
              (Lines{"x1 = 0 (multiplicity 2)", "x2 = 1 (multiplicity 2)"}));
    const std::string db = Bytes(state_.DatabaseFile);
    EXPECT_EQ(db.substr(db.rfind("x^4")),
              "x^4 - 2\xB7x^3 + x^2 = 0; S={ 0 (multiplicity 2); 1 (multiplicity 2)}\r\n");
}

TEST_F(AllRootsMethodTest, BadCoefficientsPointAtTheirBox) {
    Solve({{1, "1"}, {0, "-1"}});
    const std::string saved = Bytes(state_.DatabaseFile);
    EXPECT_EQ(Solve({{5, "1"}, {3, "7/0"}}), ErrorBoxes{});
    EXPECT_EQ(model_.message(), "Division by 0");
    EXPECT_EQ(last_.unread,
              (UnreadBox{UnreadBox::Box::Coefficient, 3, ReadFault::ZeroDenominator}));
    EXPECT_EQ(last_.record, std::nullopt);
    EXPECT_EQ(Bytes(state_.DatabaseFile), saved);

    EXPECT_EQ(Solve({{2, std::string(10001, '7')}, {0, "1"}}),
              (ErrorBoxes{{"Error  1001. Overflow: the coefficient of x^2 has more than 10,000 "
                           "significant digits",
                           BoxIcon::Critical, "Error", 1001,
                           "Overflow: the coefficient of x^2 has more than 10,000 significant "
                           "digits"}}));
    EXPECT_EQ(model_.solutionLines(), Lines{});
    EXPECT_EQ(Solve({{2, std::string(200, '7')}, {0, "-1"}}), ErrorBoxes{});
    EXPECT_EQ(model_.solutionLines().size(), 2u);
}

TEST_F(AllRootsMethodTest, TheEquationShownAndSavedIsTheOneReadExactly) {
    // The grid's own drawing overflows on these, or reads "1.5E3" as 15: the solve's reading
    // writes the equation and its record.
    const struct {
        std::map<int, std::string> boxes;
        std::string equation;
    } cases[] = {
        {{{5, "1"}, {0, "-0." + std::string(50, '0') + "1"}}, "x^5 - 1/1E51 = 0"},
        {{{2, "1.5E3"}, {1, " 12345678901234567890"}, {0, "+1/3"}},
         "1500·x^2 + 12345678901234567890·x + 1/3 = 0"},
        {{{1, "2"}, {0, "-3"}}, "2·x - 3 = 0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Solve(c.boxes), ErrorBoxes{});
        EXPECT_EQ(last_.equation, c.equation);
        ASSERT_TRUE(last_.record);
        EXPECT_EQ(last_.record->Text().substr(0, c.equation.size()), c.equation);
    }
}

} // namespace
} // namespace valdrex
