#include "main_window_fixture.h"

#include <QSettings>

namespace valdrex {
namespace {

TEST_F(MainWindowTest, TypedKeysFollowTheBoxRule) {
    const struct {
        const char* box;
        const char* text; // set by the program
        int caret;        // before typing; -1: the whole text selected
        const char* keys; // \b: Backspace, \x7f: Delete
        const char* expected;
    } cases[] = {
        {"txtCoef_3", "5", 1, "-", "5"},     {"txtCoef_3", "5", 0, "-", "-5"},
        {"txtCoef_3", "-5", -1, "-", "-5"},  {"txtCoef_3", "-5", -1, "7", "7"},
        {"txtCoef_3", "3/", 2, ".", "3/"},   {"txtCoef_3", "", 0, "1a 2+e,3", "123"},
        {"txtCoef_2", "512", 3, "\b", "51"}, {"txtCoef_2", "51", 0, "\x7f-", "-1"},
        {"txtInput", "", 0, "-1/2", "-12"},  {"txtInput", "", 0, "-.5x", "-.5"},
    };
    for (const auto& c : cases) {
        QLineEdit* box = Find(c.box);
        box->setFocus();
        box->setText(c.text);
        c.caret < 0 ? box->selectAll() : box->setCursorPosition(c.caret);
        for (const char key : std::string_view(c.keys))
            key == '\x7f' ? QTest::keyClick(box, Qt::Key_Delete) : QTest::keyClick(box, key);
        EXPECT_EQ(box->text(), c.expected) << c.box << " " << c.text << " " << c.keys;
    }
}

TEST_F(MainWindowTest, EquationFollowsTheGridKeyByKeyWhileTheBoxesKeepWhatWasTyped) {
    EnterGrid({{3, "1"}, {2, "2/4"}, {1, "-1"}, {0, "0.5"}});
    EXPECT_EQ(Coef(2)->text() + Coef(0)->text(), "2/40.5");
    EXPECT_EQ(Text("txtEquation"), "x^3 + 1/2" + kDot + "x^2 - x + 1/2 = 0");
    EXPECT_EQ(answer_.boxes, Boxes{});
    Type(Coef(4), "0/"); // 0/0 cannot be reduced: a plain box, and the equation stays
    EXPECT_EQ(answer_.boxes, (Boxes{{"1002. Division by zero", "Valdrex"}}));
    EXPECT_EQ(Text("txtEquation"), "x^3 + 1/2" + kDot + "x^2 - x + 1/2 = 0");
    EXPECT_EQ(Coef(4)->text(), "0/");
}

TEST_F(MainWindowTest, TabRunsThroughTheGridFromTheHighestPowerSelectingFromTheCaret) {
    EXPECT_EQ(Coef(12)->selectedText(), "0"); // a text the program wrote: the visit selects all
    for (int power = 12; power >= 0; --power) {
        EXPECT_EQ(QApplication::focusWidget(), Coef(power));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(QApplication::focusWidget(), Find("txtInput"));
    EXPECT_EQ(Find("txtFactor")->focusPolicy() & Qt::TabFocus, 0);
    EXPECT_EQ(Find("txtOutput")->focusPolicy() & Qt::TabFocus, 0);
    Type(Coef(5), "123");
    Coef(5)->setCursorPosition(1);
    Type(Coef(5), "9");
    EXPECT_EQ(Coef(5)->text(), "19");
}

TEST_F(MainWindowTest, PutMovesTheFactorIntoTheGrid) {
    EXPECT_FALSE(Find<QPushButton>("cmdPut")->isEnabled());
    // x^3 - x^2 - 4x - 6 = (x - 3)(x^2 + 2x + 2): the factor x^2 + 2x + 2 is left.
    EnterGrid({{3, "1"}, {2, "-1"}, {1, "-4"}, {0, "-6"}});
    PressCtrl(Qt::Key_R);
    ASSERT_TRUE(Find<QPushButton>("cmdPut")->isEnabled());
    Click("cmdPut");
    EXPECT_EQ(Coef(3)->text() + Coef(2)->text() + Coef(1)->text() + Coef(0)->text(), " 0 1 2 2");
    EXPECT_EQ(Text("txtEquation"), "x^2 + 2" + kDot + "x + 2 = 0");
    EXPECT_EQ(Label("lblMsg"), "Coefficients transferred");
    EXPECT_FALSE(Find<QPushButton>("cmdPut")->isEnabled());
}

TEST_F(MainWindowTest, TestEvaluatesTheTypedPolynomial) {
    EnterGrid({{3, "1"}, {2, "-6"}, {1, "11/2"}, {0, "-6"}});
    for (const auto& [input, output] : {std::pair{"", "-6"}, {"-1", "-18.5"}}) {
        Type(Find("txtInput"), input); // an empty input reads as 0
        Click("cmdTest");
        EXPECT_EQ(Text("txtOutput"), output) << input;
    }
    Type(Coef(1), "1"); // a coefficient change empties the test boxes
    EXPECT_EQ(Text("txtInput") + Text("txtOutput"), "");
    EXPECT_EQ(answer_.boxes, Boxes{});
}

TEST_F(MainWindowTest, TestStopsAtAZeroDenominatorAndFocusesItsBox) {
    // Texts set as the toolkit's own paste would; the coefficient box wins.
    for (const auto& [grid, focused] :
         {std::pair{Grid{{1, "1"}}, "txtInput"}, {Grid{{2, "2/0"}, {3, "3/0"}}, "txtCoef_2"}}) {
        PressCtrl(Qt::Key_S);
        for (const auto& [power, text] : grid)
            Coef(power)->setText(text);
        Find("txtInput")->setText("5/0");
        Find("txtOutput")->setText("kept");
        Find<QPushButton>("cmdTest")->setFocus();
        Click("cmdTest");
        EXPECT_EQ(Label("lblMsg") + "|" + Text("txtOutput"), "Division by 0|kept");
        EXPECT_EQ(QApplication::focusWidget()->objectName(), focused);
    }
    EXPECT_EQ(answer_.boxes, Boxes{});
}

TEST_F(MainWindowTest, SettingsAtFirstStartAndAfterReopening) {
    EXPECT_EQ(window_->windowTitle(), "Valdrex");
    EXPECT_TRUE(QFile::exists(DatabasePath()));
    EXPECT_EQ(Find<QAction>("mnuFileApri")->text(), "&Edit " + DatabasePath());
    const QString file = HomePath() + "/chosen.txt";
    state_.DatabaseFile = file.toStdString();
    state_.OverwriteFile = 1;
    state_.EvaluateSymbolically = state_.ShowWelcome = 0;
    window_->close();
    state_ = ModuleState{};
    OpenWindow();
    EXPECT_EQ(std::tuple(state_.SaveEquations, state_.OverwriteFile, state_.EvaluateSymbolically),
              std::tuple(1, 1, 0));
    EXPECT_EQ(QString::fromStdString(state_.DatabaseFile), file);
    EXPECT_TRUE(QFile::exists(file));
    QSettings stored(SettingsPath(), QSettings::IniFormat);
    EXPECT_EQ(stored.value("Options/Welcome").toString(), "0");
    EXPECT_TRUE(stored.contains("Options/File for Saving"));
}

TEST_F(MainWindowTest, ActivationShowsTheDatabaseFileInTheFileMenu) {
    state_.DatabaseFile = "/tmp/R&D/db.txt";
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(window_.get(), &activate);
    EXPECT_EQ(Find<QAction>("mnuFileApri")->text(), "&Edit /tmp/R&&D/db.txt");
}

} // namespace
} // namespace valdrex
