#include "model/main_model.h"

#include "child_process.h"
#include "core/failure.h"
#include "core_test_support.h"
#include "file_bytes.h"
#include "shown_model.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace valdrex {
namespace {

namespace fs = std::filesystem;
const ErrorBoxes kNone{};
constexpr UnreadBox::Box kCoefficient = UnreadBox::Box::Coefficient;
const ErrorBox kOverflow{"1001. Overflow", BoxIcon::None, "Valdrex", 1001, "Overflow"};
const ErrorBox kNotFound{"2. No such file or directory", BoxIcon::None, "Valdrex", 2,
                         "No such file or directory"};

ErrorBoxes Boxes(std::span<const ErrorBox> boxes) {
    return {boxes.begin(), boxes.end()};
}

class MainModelTest : public ::testing::Test {
  protected:
    MainModelTest() { state_.DatabaseFile = dir_.filePath("db.txt").toStdString(); }

    void Type(const std::map<int, std::string>& boxes) {
        for (const auto& [power, text] : boxes)
            EXPECT_EQ(model_.SetCoefficient(power, text), kNone);
    }
    ErrorBoxes Solve(SolveMethod method = SolveMethod::Exact) {
        last_ = model_.Solve(method, state_.Options);
        return Boxes(last_.errors);
    }
    // Sets the grid afresh, as typed, and solves it by All roots to `digits` digits.
    ErrorBoxes SolveAllRoots(const std::map<int, std::string>& boxes, const char* digits = "15") {
        model_.ClearAll();
        for (const auto& [power, text] : boxes)
            model_.SetCoefficient(power, text);
        state_.Options.DigitsText = digits;
        return Solve(SolveMethod::AllRoots);
    }
    std::string Database() const { return Bytes(state_.DatabaseFile); }

    QTemporaryDir dir_;
    ModuleState state_;
    MainModel model_{state_};
    SolveResult last_;
};

TEST_F(MainModelTest, SolvesAndAppendsTheRecordThenTheNoteOrUpdateWritesBoth) {
    Type({{1, "2"}, {0, "-4"}});
    EXPECT_EQ(model_.equation(), "2·x - 4 = 0");
    EXPECT_EQ(Solve(), kNone);
    EXPECT_EQ(model_.solutionLines(), ShownLines{"x1 = 2"});
    EXPECT_EQ(model_.solText()[1] + "|" + model_.message(), " 2|");
    EXPECT_EQ(Database(), "2\xB7x - 4 = 0; S={ 2}\r\n");
    EXPECT_EQ(model_.info(),
              "The equation and the solutions are saved in the file " + state_.DatabaseFile);
    // Test 3, annotate, Update: only the note line, since the solve saved the record.
    model_.SetInput("3");
    EXPECT_EQ(model_.Test().errors, kNone);
    EXPECT_EQ(model_.output(), " 2");
    model_.SetNote("check");
    EXPECT_EQ(model_.Update(), kNone);
    EXPECT_EQ(Database(), "2\xB7x - 4 = 0; S={ 2}\r\ncheck\r\n");
    EXPECT_EQ(model_.info(), "File " + state_.DatabaseFile + " updated.");
    EXPECT_EQ(model_.CopyAllText(), "2·x - 4 = 0; S={ 2}; P(3) = 2\r\ncheck");
    EXPECT_EQ(model_.info(), "Copy all texts in the clipboard: done!");
    EXPECT_EQ(model_.Update(), kNone);
    EXPECT_EQ(Database(), "2\xB7x - 4 = 0; S={ 2}\r\ncheck\r\ncheck\r\n");
    // With saving off a solve writes nothing; Update writes the record with its test, then the
    // note.
    state_.SaveEquations = false;
    state_.DatabaseFile = dir_.filePath("unsaved.txt").toStdString();
    Solve();
    EXPECT_EQ(model_.info(), "");
    EXPECT_FALSE(fs::exists(state_.DatabaseFile));
    model_.SetInput("3");
    model_.Test();
    model_.SetNote("check\nsecond line");
    EXPECT_EQ(model_.Update(), kNone);
    EXPECT_EQ(Database(), "2\xB7x - 4 = 0; S={ 2}; P(3) = 2\r\ncheck\r\nsecond line\r\n");
}

TEST_F(MainModelTest, AMissingFolderReportsOnceAndKeepsTheSolutions) {
    state_.DatabaseFile = dir_.filePath("missing/db.txt").toStdString();
    Type({{2, "1"}, {1, "-3"}, {0, "2"}});
    const ErrorBoxes notFound{kNotFound};
    EXPECT_EQ(Solve(), notFound);
    EXPECT_EQ(model_.solutionLines(), (ShownLines{"x1 = 2", "x2 = 1"}));
    EXPECT_EQ(model_.message() + "|" + model_.info(), "Solutions found|");
    EXPECT_TRUE(state_.ErrorFlag);
    EXPECT_EQ(model_.Update(), notFound);
    state_.SaveEquations = false;
    EXPECT_EQ(model_.Update(), notFound);
    EXPECT_FALSE(fs::exists(dir_.filePath("missing").toStdString()));
}

TEST_F(MainModelTest, AZeroDenominatorStopsSolveAndTestAtItsBox) {
    model_.SetInput("1/0");
    EXPECT_EQ(model_.Test().unread, UnreadBox{UnreadBox::Box::Input});
    Type({{3, "5/0"}, {1, "3/"}}); // the solve's outcome: the table below
    model_.SetInput("2");
    const TestResult test = model_.Test();
    EXPECT_EQ(test.errors, kNone);
    EXPECT_EQ(test.unread, (UnreadBox{kCoefficient, 1}));
    EXPECT_EQ(model_.output(), "");
}

// A box the grid's reading cannot take stops the solve before its method: the result names the
// lowest such box and why, and holds no record.
TEST(MainModelReading, AFailedReadNamesTheBoxAndWhy) {
    using enum ReadFault;
    const std::pair<std::map<int, std::string>, UnreadBox> cases[] = {
        {{{3, "5/0"}, {1, "3/"}}, {kCoefficient, 1, ZeroDenominator}},
        {{{4, "0/0"}}, {kCoefficient, 4, ZeroDenominator}},
        {{{2, "99999999999/0"}}, {kCoefficient, 2, ZeroDenominator}}, // not a value too large
        {{{0, "99999999999"}}, {kCoefficient, 0, BeyondRange}},
        {{{1, "-2147483649/3"}}, {kCoefficient, 1, BeyondRange}},
        {{{3, ".0000000001"}}, {kCoefficient, 3, BeyondRange}},
        {{{0, "1/65537"}, {1, "1/65536"}}, {kCoefficient, 1, CommonDenominatorBeyondRange}},
        {{{0, "2147483647"}, {1, "1/2"}}, {kCoefficient, 0, CommonDenominatorBeyondRange}},
    };
    for (const auto& [grid, unread] : cases) {
        ModuleState state;
        MainModel model(state, nullptr);
        for (const auto& [power, text] : grid)
            model.SetCoefficient(power, text);
        for (const SolveMethod method : {SolveMethod::Exact, SolveMethod::Bairstow}) {
            const SolveResult result = model.Solve(method, {});
            EXPECT_EQ(result.unread, unread) << grid.rbegin()->second;
            EXPECT_EQ(result.status, "Division by 0");
            EXPECT_EQ(result.coefficients[unread.power], grid.at(unread.power));
            EXPECT_TRUE(result.lines.empty() && result.errors.empty() && !result.record);
        }
    }
}

// The solver's boxes come first, then the one of the record that could not be saved. A model
// that leaves the record to its caller gives the solver's alone, and the record.
TEST_F(MainModelTest, EveryBoxOfASolveIsInItsResultInOrder) {
    state_.DatabaseFile = dir_.filePath("missing/db.txt").toStdString();
    Type({{2, "65536"}, {1, "65536"}, {0, "-1"}});
    EXPECT_EQ(Solve(), (ErrorBoxes{kOverflow, kNotFound}));
    EXPECT_EQ(last_.record, "65536\xC2\xB7x^2 + 65536\xC2\xB7x - 1 = 0; S={}");

    ModuleState state;
    MainModel handing(state, nullptr);
    handing.SetCoefficients(std::vector<std::string_view>{"65536", "65536", "-1"});
    const SolveResult result = handing.Solve(SolveMethod::Exact, {});
    EXPECT_EQ(Boxes(result.errors), ErrorBoxes{kOverflow});
    EXPECT_EQ(result.record, last_.record);
    EXPECT_EQ(result.equation, model_.equation());
}

TEST_F(MainModelTest, FailuresShowTheirBoxes) {
    Type({{2, "3"}});
    // An unreducible coefficient keeps the equation and flags the error.
    EXPECT_EQ(model_.SetCoefficient(2, "0/"), (ErrorBoxes{{"1002. Division by zero", BoxIcon::None,
                                                           "Valdrex", 1002, "Division by zero"}}));
    EXPECT_EQ(model_.equation(), "3·x^2 = 0");
    EXPECT_TRUE(state_.ErrorFlag);
    Type({{2, "0"}, {12, "1"}});
    model_.SetInput("1E40");
    EXPECT_EQ(model_.Test().errors, (ErrorBoxes{{"Error  1001. Overflow", BoxIcon::Critical,
                                                 "Error", 1001, "Overflow"}}));
    EXPECT_EQ(model_.output(), "");
}

// A whole number beyond 32 bits draws and stops the solve at its box without a box of its
// own; a decimal or a fraction that cannot be held in 32 bits gives Overflow and is not drawn.
TEST_F(MainModelTest, CoefficientsBeyondThirtyTwoBits) {
    EXPECT_EQ(model_.SetCoefficient(1, "99999999999"), kNone);
    EXPECT_EQ(model_.equation(), "99999999999·x = 0");
    for (const char* text : {".1234567891", "2/99999999999"})
        EXPECT_EQ(model_.SetCoefficient(1, text), ErrorBoxes{kOverflow}) << text;
    EXPECT_EQ(model_.equation(), "99999999999·x = 0");
}

TEST_F(MainModelTest, AnEnteredEquationFillsTheGridOrChangesNothing) {
    model_.SetInput("2");
    const EnterEquationResult entered =
        model_.EnterEquation("x\xC2\xB2 \xE2\x88\x92 0.5x = 1/3 + x");
    EXPECT_TRUE(entered.entered);
    EXPECT_EQ(entered.error + std::to_string(entered.column), "0");
    EXPECT_EQ(model_.coefficients(), testing::Grid({{2, "1"}, {1, "-1.5"}, {0, "-1/3"}}));
    EXPECT_EQ(model_.equation(), "x^2 - 3/2·x - 1/3 = 0");
    EXPECT_EQ(model_.input(), "");
    EXPECT_EQ(Solve(), kNone); // the grid's own reading takes every text
    EXPECT_EQ(model_.solutionLines().size(), 2u);

    model_.SetInput("2");
    const CoefficientTexts before = model_.coefficients();
    const EnterEquationResult refused = model_.EnterEquation("x^2 + 3x +");
    EXPECT_FALSE(refused.entered);
    EXPECT_EQ(refused.error, "expected a number or x at column 11");
    EXPECT_EQ(refused.column, 11);
    EXPECT_EQ(model_.coefficients(), before);
    EXPECT_EQ(model_.equation(), "x^2 - 3/2·x - 1/3 = 0");
    EXPECT_EQ(model_.input(), "2");

    // Beyond the grid's 32 bits: shown exactly, read exactly by the all-roots method only.
    EXPECT_TRUE(model_.EnterEquation("x^5 - 1e-51").entered);
    EXPECT_EQ(model_.equation(), "x^5 - 1/1E51 = 0");
    EXPECT_EQ(Solve(), kNone);
    EXPECT_EQ(last_.unread, (UnreadBox{kCoefficient, 0, ReadFault::BeyondRange}));
    EXPECT_EQ(Solve(SolveMethod::AllRoots), kNone);
    EXPECT_EQ(last_.equation, "x^5 - 1/1E51 = 0");
    EXPECT_EQ(model_.solutionLines().size(), 5u);
}

TEST_F(MainModelTest, DegreeZeroMessagesAndOverwrite) {
    Solve();
    EXPECT_EQ(model_.message(), "The equation is undetermined");
    EXPECT_EQ(model_.solutionLines(), ShownLines{});
    Type({{0, "5"}});
    Solve();
    EXPECT_EQ(model_.message(), "The equation is impossible");
    EXPECT_EQ(Database(), "0 = 0; S={}\r\n5 = 0; S={}\r\n");
    state_.OverwriteFile = true; // only the newest record, then its (empty) note
    Type({{1, "1"}, {0, "1"}});
    Solve();
    model_.Update();
    EXPECT_EQ(Database(), "x + 1 = 0; S={-1}\r\n\r\n");
}

TEST_F(MainModelTest, RationalRootsLeaveTheFactorForPut) {
    Type({{3, "1"}, {2, "-2"}, {1, "1"}, {0, "-2"}});
    EXPECT_EQ(Solve(SolveMethod::Rational), kNone);
    EXPECT_EQ(model_.solutionLines(), ShownLines{"x1 = 2"});
    EXPECT_EQ(model_.factor(), "x^2  + 1 ");
    EXPECT_TRUE(model_.putEnabled());
    EXPECT_EQ(Database(), "x^3 - 2\xB7x^2 + x - 2 = 0; S={ 2}; R(x)=x^2+1\r\n");
    EXPECT_EQ(model_.Put(), kNone);
    EXPECT_EQ(model_.coefficients(), testing::Grid({{2, " 1"}, {0, " 1"}}, " 0"));
    EXPECT_EQ(model_.equation() + "|" + model_.message(), "x^2 + 1 = 0|Coefficients transferred");
    EXPECT_FALSE(model_.putEnabled());
    Solve(); // any other solve empties the factor box
    EXPECT_EQ(model_.factor(), "");
}

// Several rational roots leave a factor whose division dust Put would copy into the grid.
TEST_F(MainModelTest, PutAfterSeveralRationalRootsGivesAGridThatSolves) {
    const char* highToLow[] = {"3", "4", "1", "0", "3", "4", "4", "1", "0", "3", "4", "1", "0"};
    for (int i = 0; i < kCoefficientCount; ++i)
        Type({{kCoefficientCount - 1 - i, highToLow[i]}});
    EXPECT_EQ(Solve(SolveMethod::Rational), kNone);
    EXPECT_EQ(model_.solutionLines(), (ShownLines{"x1 = 0", "x2 =-1/ 3"}));
    EXPECT_EQ(model_.Put(), kNone);
    EXPECT_EQ(
        model_.coefficients(),
        testing::Grid(
            {{10, " 3"}, {9, " 3"}, {6, " 3"}, {5, " 3"}, {4, " 3"}, {1, " 3"}, {0, " 3"}}, " 0"));
    EXPECT_EQ(Solve(SolveMethod::Rational), kNone);
    EXPECT_EQ(model_.message(), "There aren't rational roots");
}

// A scan cancelled from its progress window has not looked at the whole interval.
TEST_F(MainModelTest, ACancelledScanWritesNoRecord) {
    Type({{1, "1"}});
    MethodOptions options;
    const auto cancel = [](double) { return false; };
    options.BisectionIncText = "1E-6";
    last_ = model_.Solve(SolveMethod::Bisection, options, cancel);
    EXPECT_TRUE(last_.cancelled);
    EXPECT_EQ(last_.status, "The scan was cancelled");
    EXPECT_EQ(last_.record, std::nullopt);
    EXPECT_FALSE(fs::exists(state_.DatabaseFile));
    options.BisectionIncText = ".5"; // too short to be asked
    last_ = model_.Solve(SolveMethod::Bisection, options, cancel);
    EXPECT_FALSE(last_.cancelled);
    EXPECT_EQ(last_.record, "x = 0; S={ 0}");
    EXPECT_EQ(Database(), "x = 0; S={ 0}\r\n");
}

TEST_F(MainModelTest, ClearAllResetsEverythingAndACoefficientChangeTheTestBoxes) {
    Type({{1, "1"}});
    model_.SetInput("4");
    model_.Test();
    EXPECT_EQ(model_.output(), " 4");
    Type({{0, "1"}});
    EXPECT_EQ(model_.input() + model_.output(), "");
    Solve();
    model_.SetNote("n");
    model_.SetInput("2");
    EXPECT_EQ(model_.ClearAll(), kNone);
    EXPECT_EQ(model_.coefficients(), testing::Grid({}));
    EXPECT_EQ(model_.equation(), "0 = 0");
    EXPECT_EQ(model_.solutionLines(), ShownLines{});
    EXPECT_EQ(model_.message() + model_.info() + model_.note() + model_.input() + model_.output(),
              "");
}

TEST(MainModel, SetCoefficientsTypesLikeOneBoxAfterAnother) {
    const std::string huge = "1" + std::string(400, '0'); // too large to draw
    const std::vector<std::vector<std::string>> lines = {
        {"1", "-3", "2"}, {"0", "2/4", "0"},
        {huge, "1", "2"}, {"1", huge, "0/"},
        {"0/", "7"},      {"0"},
        {"-1"},           {"3", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "1"}};
    for (const bool fromEmptyGrid : {true, false}) {
        for (const auto& texts : lines) {
            ModuleState oneState, allState;
            MainModel one(oneState), all(allState);
            for (MainModel* m : {&one, &all}) { // a change of the grid empties the test boxes
                if (!fromEmptyGrid)
                    m->SetCoefficient(1, "5");
                m->SetInput("2");
                m->Test();
            }
            ErrorBoxes expected;
            const int count = static_cast<int>(texts.size());
            for (int k = 0; k < count; ++k) {
                const ErrorBoxes more = one.SetCoefficient(count - 1 - k, texts[k]);
                expected.insert(expected.end(), more.begin(), more.end());
            }
            const std::vector<std::string_view> views(texts.begin(), texts.end());
            EXPECT_EQ(all.SetCoefficients(views), expected) << texts[0];
            EXPECT_EQ(Shown(all), Shown(one));
            EXPECT_EQ(allState.ErrorFlag, oneState.ErrorFlag) << texts[0];
        }
    }
}

TEST_F(MainModelTest, RenewGivesWhatANewWindowHas) {
    state_.SaveEquations = false;
    Type({{4, "1"}, {3, "-2"}, {0, "-1"}});
    model_.SetInput("2");
    model_.Test();
    model_.SetNote("n");
    Solve();
    Solve(SolveMethod::Rational);
    model_.Renew();
    ModuleState newState;
    newState.SaveEquations = false;
    MainModel renewed(newState);
    EXPECT_EQ(Shown(model_), Shown(renewed));
    // Nothing of the quartic's four roots stays behind a quadratic's two.
    for (MainModel* m : {&model_, &renewed}) {
        m->SetCoefficient(2, "1");
        m->SetCoefficient(0, "-4");
        m->Solve(SolveMethod::Exact, {});
    }
    EXPECT_EQ(model_.solutionLines(), (ShownLines{"x1 = 2", "x2 =-2"}));
    EXPECT_EQ(Shown(model_), Shown(renewed));
}

TEST_F(MainModelTest, AllRootsListsEveryRootInTheHouseStyle) {
    const struct {
        std::map<int, std::string> boxes;
        const char* digits;
        ShownLines lines;
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
        EXPECT_EQ(SolveAllRoots(c.boxes, c.digits), kNone);
        EXPECT_EQ(model_.solutionLines(), c.lines) << model_.equation();
        EXPECT_EQ(model_.message(), c.status) << model_.equation();
        EXPECT_EQ(model_.allRoots().size(), c.lines.size());
    }
    // The record holds the same texts, in Windows-1252.
    SolveAllRoots({{4, "1"}, {3, "-2"}, {2, "1"}});
    EXPECT_EQ(model_.solutionLines(),
              (ShownLines{"x1 = 0 (multiplicity 2)", "x2 = 1 (multiplicity 2)"}));
    const std::string db = Database();
    EXPECT_EQ(db.substr(db.rfind("x^4")),
              "x^4 - 2\xB7x^3 + x^2 = 0; S={ 0 (multiplicity 2); 1 (multiplicity 2)}\r\n");
}

TEST_F(MainModelTest, AllRootsBadCoefficientsPointAtTheirBox) {
    SolveAllRoots({{1, "1"}, {0, "-1"}});
    const std::string saved = Database();
    EXPECT_EQ(SolveAllRoots({{5, "1"}, {3, "7/0"}}), kNone);
    EXPECT_EQ(model_.message(), "Division by 0");
    EXPECT_EQ(last_.unread, (UnreadBox{kCoefficient, 3, ReadFault::ZeroDenominator}));
    EXPECT_EQ(last_.record, std::nullopt);
    EXPECT_EQ(Database(), saved);

    const std::string tooLong =
        "Overflow: the coefficient of x^2 has more than 10,000 significant digits";
    EXPECT_EQ(SolveAllRoots({{2, std::string(10001, '7')}, {0, "1"}}),
              (ErrorBoxes{{"Error  1001. " + tooLong, BoxIcon::Critical, "Error", 1001, tooLong}}));
    EXPECT_EQ(model_.solutionLines(), ShownLines{});
    EXPECT_EQ(SolveAllRoots({{2, std::string(200, '7')}, {0, "-1"}}), kNone);
    EXPECT_EQ(model_.solutionLines().size(), 2u);
}

TEST_F(MainModelTest, AllRootsTheEquationShownAndSavedIsTheOneReadExactly) {
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
        EXPECT_EQ(SolveAllRoots(c.boxes), kNone);
        EXPECT_EQ(last_.equation, c.equation);
        ASSERT_TRUE(last_.record);
        EXPECT_EQ(last_.record->Text().substr(0, c.equation.size()), c.equation);
    }
}

TEST(MathsMenuEnabling, FollowsTheDegree) {
    struct Offer {
        int degree;
        bool exact, approximate, rational;
    };
    const std::pair<std::map<int, std::string>, Offer> cases[] = {
        {{}, {0, true, false, true}},
        {{{5, "-2"}}, {5, false, true, true}},
        {{{5, "0"}, {4, "1"}}, {4, true, true, true}},
        {{{2, "1"}, {1, "1"}, {0, "1"}}, {2, true, false, true}},
        {{{12, "1E999"}, {2, "1"}}, {12, false, true, true}},
    };
    for (const auto& [grid, offer] : cases) {
        const MathsMenuState menu = MathsMenuEnabling(testing::Grid(grid));
        const auto approximate = [&](SolveMethod m) { return menu.offers(m) == offer.approximate; };
        EXPECT_EQ(menu.degree, offer.degree);
        EXPECT_EQ(menu.offers(SolveMethod::Exact), offer.exact) << offer.degree;
        EXPECT_EQ(menu.offers(SolveMethod::Rational), offer.rational) << offer.degree;
        EXPECT_TRUE(approximate(SolveMethod::Bairstow) && approximate(SolveMethod::Bisection) &&
                    approximate(SolveMethod::Newton))
            << offer.degree;
        EXPECT_TRUE(menu.offers(SolveMethod::AllRoots)) << offer.degree;
    }
}

// A file that may not be written, met by each of the main window's commands that write the
// database: reported once, in the record writer's style, and the bytes already there stay.
// (A full disk, a folder in place of the file and the viewer's whole-file save are tested with
// the database file functions.)

const std::string kOldBytes = "x^2 - 1 = 0; S={ 1;-1}\r\nolder note\r\n";

std::string Describe(const ErrorBoxes& boxes) {
    std::string text;
    for (const ErrorBox& box : boxes)
        text += box.text + "|" + std::to_string(static_cast<int>(box.icon)) + "|" + box.title + ";";
    return text;
}

// One command that writes the database, with the settings it runs under.
const struct WritingCommand {
    const char* name;
    bool saveEquations, overwriteFile;
    bool solve; // Maths > Solve; otherwise the Update button
} kCommands[] = {
    {"a solve appends the record", true, false, true},
    {"a solve overwrites with the record", true, true, true},
    {"Update appends the note", true, false, false},
    {"Update appends the record and the note", false, false, false},
    {"Update overwrites with the record, then appends the note", false, true, false},
};

TEST(FileFault, AReadOnlyDatabaseIsReportedAndKeepsItsBytes) {
    const QTemporaryDir dir;
    const std::string db = dir.filePath("db.txt").toStdString();
    // Runs the command on x^2 - 3x + 2 = 0 and reports its boxes, the information label and
    // whether the solutions are gone.
    const auto run = [&](const WritingCommand& command) {
        ModuleState state;
        state.DatabaseFile = db;
        state.OverwriteFile = command.overwriteFile;
        state.SaveEquations = command.solve && command.saveEquations; // Update does the writing
        MainModel model(state);
        model.SetCoefficients(std::vector<std::string_view>{"1", "-3", "2"});
        model.SetNote("a note");
        ErrorBoxes boxes = Boxes(model.Solve(SolveMethod::Exact, {}).errors);
        if (!command.solve) {
            state.SaveEquations = command.saveEquations;
            boxes = model.Update();
        }
        const bool solved = model.solutionLines() == std::vector<std::string>{"x1 = 2", "x2 = 1"};
        return Describe(boxes) + " info=" + model.info() + (solved ? "" : " unsolved");
    };
    Put(db, kOldBytes);
    fs::permissions(db, fs::perms::owner_read);
    for (const WritingCommand& command : kCommands) {
        EXPECT_EQ(AsOrdinaryUser(dir.path().toStdString(), [&] { return run(command); }),
                  Describe({PlainErrorBox(FileFailure(EACCES))}) + " info=")
            << command.name;
        EXPECT_EQ(Bytes(db), kOldBytes) << command.name;
    }
}

} // namespace
} // namespace valdrex
