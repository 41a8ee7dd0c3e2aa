#include "model/grid_history.h"

#include "shown_model.h"

#include <gtest/gtest.h>

#include <map>

namespace valdrex {
namespace {

class GridHistoryTest : public ::testing::Test {
  protected:
    GridHistoryTest() { state_.SaveEquations = false; }

    // Types each text into its box as the window does: one step per box.
    void Type(const std::map<int, std::string>& boxes) {
        for (const auto& [power, text] : boxes)
            history_.Record(power, [&] { return model_.SetCoefficient(power, text); });
    }
    void Command(ErrorBoxes (MainModel::*command)()) {
        history_.Record(GridHistory::kCommand, [&] { return (model_.*command)(); });
    }
    void Solve(SolveMethod method = SolveMethod::Exact) { model_.Solve(method, {}); }

    ModuleState state_;
    MainModel model_{state_, nullptr};
    GridHistory history_{model_};
};

// The results stay until the next solve, marked as the previous equation's once the grid
// differs from the one they came from; a command that cannot read a box leaves none.
TEST_F(GridHistoryTest, ResultsKnowWhetherTheGridStillHoldsTheirEquation) {
    EXPECT_FALSE(model_.resultsOutdated());
    model_.SetCoefficient(1, "1");
    EXPECT_FALSE(model_.resultsOutdated()) << "nothing solved yet";
    model_.SetCoefficient(0, "-2");
    Solve(SolveMethod::Rational);
    EXPECT_EQ(model_.solutionLines(), ShownLines{"x1 = 2"});
    model_.SetCoefficient(0, "-3");
    EXPECT_TRUE(model_.resultsOutdated());
    EXPECT_EQ(model_.solutionLines(), ShownLines{"x1 = 2"});
    model_.SetCoefficient(0, "-2");
    EXPECT_FALSE(model_.resultsOutdated()) << "the solved grid again";

    model_.SetInput("3");
    model_.Test();
    EXPECT_EQ(model_.output(), " 1");
    model_.SetInput("3.");
    EXPECT_EQ(model_.output(), "") << "P of another number";
    model_.SetInput("4");
    EXPECT_EQ(model_.Test().unread, std::nullopt);

    model_.SetCoefficient(3, "1");
    model_.SetCoefficient(0, "2");
    Solve(SolveMethod::Rational); // x^3 + x + 2 = (x + 1)(x^2 - x + 2)
    EXPECT_FALSE(model_.factor().empty());
    model_.SetCoefficient(2, "1/0");
    EXPECT_TRUE(model_.resultsOutdated());
    EXPECT_TRUE(model_.Test().unread.has_value());
    EXPECT_EQ(model_.solutionLines(), ShownLines{});
    EXPECT_EQ(model_.factor(), "");
    EXPECT_EQ(model_.message(), "Division by 0");
    EXPECT_FALSE(model_.resultsOutdated()) << "the message is this grid's";
    model_.SetCoefficient(2, "0");
    Solve();
    model_.SetCoefficient(2, "1/0");
    Solve(SolveMethod::Newton);
    EXPECT_EQ(model_.solutionLines(), ShownLines{});
    EXPECT_EQ(model_.solText()[1], "");
    EXPECT_EQ(model_.message(), "Division by 0");
    model_.ClearAll();
    EXPECT_FALSE(model_.resultsOutdated());
}

TEST_F(GridHistoryTest, SetAllToZeroAndPutGoBackWithTheNoteAndTheResults) {
    EXPECT_FALSE(history_.canUndo());
    Type({{3, "1"}, {2, "-2"}, {1, "1"}, {0, "-2"}});
    Solve(SolveMethod::Rational);
    model_.SetNote("a note");
    model_.SetInput("2");
    model_.Test();
    const std::string solved = Shown(model_);
    Command(&MainModel::ClearAll);
    const std::string cleared = Shown(model_);
    history_.Undo();
    EXPECT_EQ(Shown(model_), solved);
    EXPECT_EQ(model_.factor(), "x^2  + 1 ");
    history_.Redo();
    EXPECT_EQ(Shown(model_), cleared);
    history_.Undo();

    Command(&MainModel::Put);
    EXPECT_EQ(model_.equation(), "x^2 + 1 = 0");
    history_.Undo();
    EXPECT_EQ(Shown(model_), solved);
    EXPECT_TRUE(model_.putEnabled());

    // The four box edits go back one by one; the results, which no edit made, stay and show
    // as another equation's.
    for (int step = 0; step < 4; ++step)
        history_.Undo();
    EXPECT_EQ(model_.equation() + "|" + model_.input() + model_.output(), "0 = 0|");
    EXPECT_EQ(model_.solutionLines(), ShownLines{"x1 = 2"});
    EXPECT_TRUE(model_.resultsOutdated());
    EXPECT_FALSE(history_.canUndo());
    for (int step = 0; step < 4; ++step)
        history_.Redo();
    EXPECT_EQ(model_.equation(), "x^3 - 2·x^2 + x - 2 = 0");
    EXPECT_FALSE(model_.resultsOutdated());
    EXPECT_TRUE(history_.canRedo()) << "Put is still there to redo";
}

// A number typed into one box is one step; what no step changed (a note typed later) stays
// when a step goes back; a new step drops what could be redone.
TEST_F(GridHistoryTest, StepsAreWholeEditsLeaveLaterChangesAloneAndKeepTheirDepth) {
    for (const char* typed : {"1", "12", "123"})
        Type({{2, typed}});
    Type({{1, "5"}});
    model_.SetNote("typed after");
    history_.Undo();
    EXPECT_EQ(model_.equation(), "123·x^2 = 0");
    EXPECT_EQ(model_.note(), "typed after");
    history_.Undo();
    EXPECT_EQ(model_.coefficients()[2], "0");
    EXPECT_FALSE(history_.canUndo());
    history_.Redo();
    Type({{0, "7"}});
    EXPECT_FALSE(history_.canRedo());
    Type({{0, "7"}});
    history_.Undo();
    EXPECT_EQ(model_.equation(), "123·x^2 = 0") << "an unchanged text is no step";
    // The history keeps its depth of newest steps.
    const int steps = static_cast<int>(GridHistory::kDepth) + 20;
    std::vector<std::string> before;
    for (int k = 0; k < steps; ++k) {
        before.push_back(Shown(model_));
        Type({{k % 2, std::to_string(k + 1)}});
    }
    for (int k = steps - 1; k >= steps - static_cast<int>(GridHistory::kDepth); --k) {
        ASSERT_TRUE(history_.canUndo()) << k;
        history_.Undo();
        EXPECT_EQ(Shown(model_), before[k]);
    }
    EXPECT_FALSE(history_.canUndo());
}

} // namespace
} // namespace valdrex
