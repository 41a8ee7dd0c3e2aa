#include "main_window_fixture.h"

namespace valdrex {
namespace {

TEST_F(MainWindowTest, TypedKeysFollowTheBoxRule) {
    const struct {
        const char* box;
        const char* text; // set by the program
        int caret;        // before typing; -1: the whole text selected
        const char* keys;
        const char* expected;
    } cases[] = {
        {"txtCoef_3", "5", 1, "-", "5"},    {"txtCoef_3", "5", 0, "-", "-5"},
        {"txtCoef_3", "-5", -1, "-", "-5"}, {"txtCoef_3", "-5", -1, "7", "7"},
        {"txtCoef_3", "3/", 2, ".", "3/"},  {"txtCoef_3", "", 0, "1a 2+e,3", "123"},
        {"txtInput", "", 0, "-1/2", "-12"}, {"txtInput", "", 0, "-.5x", "-.5"},
    };
    OpenWindow();
    for (const auto& c : cases) {
        QLineEdit* box = Find(c.box);
        box->setFocus();
        box->setText(c.text);
        c.caret < 0 ? box->selectAll() : box->setCursorPosition(c.caret);
        QTest::keyClicks(box, c.keys);
        EXPECT_EQ(box->text(), c.expected) << c.box << " " << c.text << " " << c.keys;
    }
    QLineEdit* box = Coef(2);
    box->setFocus();
    box->setText("512");
    box->setCursorPosition(3);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, "-");
    EXPECT_EQ(box->text(), "-1");
}

TEST_F(MainWindowTest, EquationFollowsTheGridKeyByKeyWhileTheBoxesKeepWhatWasTyped) {
    OpenWindow();
    EnterGrid({{3, "1"}, {2, "2/4"}, {1, "-1"}, {0, "0.5"}});
    EXPECT_EQ(Coef(2)->text() + Coef(0)->text(), "2/40.5");
    EXPECT_EQ(Text("txtEquation"), "x^3 + 1/2" + kDot + "x^2 - x + 1/2 = 0");
    EXPECT_EQ(window_->model().equation(), Text("txtEquation").toStdString());
    EXPECT_EQ(answer_.boxes, std::vector<SeenBox>{});
}

TEST_F(MainWindowTest, ZeroOverZeroShowsPlainBoxAndKeepsTheEquation) {
    OpenWindow();
    Type(Coef(1), "7");
    Type(Coef(2), "0/");
    EXPECT_EQ(answer_.boxes, (std::vector<SeenBox>{{"1002. Division by zero", "Valdrex"}}));
    EXPECT_EQ(Text("txtEquation"), "7" + kDot + "x = 0");
    EXPECT_EQ(Coef(2)->text(), "0/");
}

TEST_F(MainWindowTest, TabRunsThroughTheGridFromTheHighestPower) {
    OpenWindow();
    for (int power = 12; power >= 0; --power) {
        EXPECT_EQ(QApplication::focusWidget(), Coef(power));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(QApplication::focusWidget(), Find("txtInput"));
    EXPECT_EQ(Find("txtFactor")->focusPolicy() & Qt::TabFocus, 0);
    EXPECT_EQ(Find("txtOutput")->focusPolicy() & Qt::TabFocus, 0);
}

TEST_F(MainWindowTest, FocusSelectsFromTheCaretToTheEnd) {
    OpenWindow();
    // A text the program wrote leaves the caret at the start: the visit selects it all.
    EXPECT_EQ(Coef(12)->selectedText(), "0");
    QLineEdit* box = Coef(5);
    Type(box, "123");
    box->setCursorPosition(1);
    Type(box, "");
    EXPECT_EQ(box->selectedText(), "23");
    EXPECT_EQ(box->selectionStart(), 1);
    QTest::keyClicks(box, "9");
    EXPECT_EQ(box->text(), "19");
}

TEST_F(MainWindowTest, PutMovesTheFactorIntoTheGrid) {
    OpenWindow();
    auto* put = Find<QPushButton>("cmdPut");
    EXPECT_FALSE(put->isEnabled());
    // x^3 - x^2 - 4x - 6 = (x - 3)(x^2 + 2x + 2): the factor x^2 + 2x + 2 is left.
    EnterGrid({{3, "1"}, {2, "-1"}, {1, "-4"}, {0, "-6"}});
    PressCtrl(Qt::Key_R);
    ASSERT_TRUE(put->isEnabled());
    Click("cmdPut");
    EXPECT_EQ(Coef(3)->text() + Coef(2)->text() + Coef(1)->text() + Coef(0)->text(), " 0 1 2 2");
    EXPECT_EQ(Text("txtEquation"), "x^2 + 2" + kDot + "x + 2 = 0");
    EXPECT_EQ(Label("lblMsg"), "Coefficients transferred");
    EXPECT_FALSE(put->isEnabled());
}

} // namespace
} // namespace valdrex
