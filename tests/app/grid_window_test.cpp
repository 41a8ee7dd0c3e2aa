#include "main_window_fixture.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

namespace valdrex {
namespace {

struct KeyCase {
    const char* box;
    const char* text; // initial text, set by the program
    int caret;        // caret before typing (-1: whole text selected)
    const char* keys;
    const char* expected;
};

class KeyRuleTest : public MainWindowTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyRuleTest, TypedKeysFollowTheBoxRule) {
    const KeyCase& c = GetParam();
    OpenWindow();
    auto* box = Find<QLineEdit>(QLatin1String(c.box));
    box->setFocus();
    box->setText(QLatin1String(c.text));
    if (c.caret < 0)
        box->selectAll();
    else
        box->setCursorPosition(c.caret);
    QTest::keyClicks(box, QLatin1String(c.keys));
    EXPECT_EQ(box->text(), QLatin1String(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    GridAndInput, KeyRuleTest,
    ::testing::Values(KeyCase{"txtCoef_3", "5", 1, "-", "5"},     // "-" only at the start
                      KeyCase{"txtCoef_3", "5", 0, "-", "-5"},    //
                      KeyCase{"txtCoef_3", "-5", 0, "-", "-5"},   // only one "-"
                      KeyCase{"txtCoef_3", "-5", -1, "-", "-5"},  // whole text looked at
                      KeyCase{"txtCoef_3", "-5", -1, "7", "7"},   //
                      KeyCase{"txtCoef_3", "3.5", 3, "/", "3.5"}, //
                      KeyCase{"txtCoef_3", "3/", 2, ".", "3/"},   //
                      KeyCase{"txtCoef_3", "3/4", 3, "/", "3/4"}, //
                      KeyCase{"txtCoef_3", "", 0, "1a 2+e,3", "123"},
                      KeyCase{"txtCoef_3", "1", 1, ".25", "1.25"},
                      KeyCase{"txtInput", "", 0, "-1/2", "-12"}, // no "/" in the test input
                      KeyCase{"txtInput", "4", 1, "-", "4"},
                      KeyCase{"txtInput", "1.5", 3, ".5", "1.55"},
                      KeyCase{"txtInput", "", 0, "-.5x", "-.5"}));

TEST_F(MainWindowTest, BackspaceAndNavigationKeysReachTheBox) {
    OpenWindow();
    QLineEdit* box = Coef(2);
    box->setFocus();
    box->setText(QStringLiteral("512"));
    box->setCursorPosition(3);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), QStringLiteral("51"));
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, QStringLiteral("-"));
    EXPECT_EQ(box->text(), QStringLiteral("-1"));
}

struct EquationCase {
    Grid grid;
    QString expected;
};

TEST_F(MainWindowTest, EquationFollowsTheGridKeyByKey) {
    const std::vector<EquationCase> cases = {
        {{{3, "1"}, {2, "-6"}, {1, "11"}, {0, "-6"}},
         "x^3 - 6" + kDot + "x^2 + 11" + kDot + "x - 6 = 0"},
        {{{2, "2/4"}, {1, "-1"}, {0, "0.5"}}, "1/2" + kDot + "x^2 - x + 1/2 = 0"},
        {{{12, "-1"}, {1, "3.5"}}, "-x^12 + 7/2" + kDot + "x = 0"},
        {{{4, "1.25"}, {2, "-3/9"}, {0, "-2"}}, "5/4" + kDot + "x^4 - 1/3" + kDot + "x^2 - 2 = 0"},
        {{{1, "1"}, {0, "1"}}, "x + 1 = 0"},
        {{{0, "5"}}, "5 = 0"},
        {{}, "0 = 0"},
    };
    OpenWindow();
    for (const EquationCase& c : cases) {
        EnterGrid(c.grid);
        for (const auto& [power, keys] : c.grid)
            EXPECT_EQ(Coef(power)->text(), QLatin1String(keys));
        EXPECT_EQ(Text("txtEquation"), c.expected);
        EXPECT_EQ(window_->model().equation(), c.expected.toStdString());
    }
    EXPECT_TRUE(answerer_.boxes().empty());
}

TEST_F(MainWindowTest, ZeroOverZeroShowsPlainBoxAndKeepsTheEquation) {
    OpenWindow();
    TypeCoefficient(1, QStringLiteral("7"));
    TypeCoefficient(2, QStringLiteral("0/"));
    ASSERT_EQ(answerer_.boxes().size(), 1u);
    const ShownBox& box = answerer_.boxes().front();
    EXPECT_EQ(box.icon, QMessageBox::NoIcon);
    EXPECT_EQ(box.title, QStringLiteral("Valdrex"));
    EXPECT_TRUE(box.okOnly);
    EXPECT_TRUE(box.text.startsWith(QString::number(kDivisionByZeroNumber) + ". "))
        << box.text.toStdString();
    EXPECT_EQ(Text("txtEquation"), QStringLiteral("7") + kDot + "x = 0");
    EXPECT_EQ(Coef(2)->text(), QStringLiteral("0/"));
}

TEST_F(MainWindowTest, CoefficientChangeEmptiesTheTestBoxes) {
    OpenWindow();
    TypeCoefficient(0, QStringLiteral("4"));
    Type(Find<QLineEdit>(QStringLiteral("txtInput")), QStringLiteral("2"));
    QTest::mouseClick(Find<QPushButton>(QStringLiteral("cmdTest")), Qt::LeftButton);
    EXPECT_EQ(Text("txtOutput"), QStringLiteral(" 4"));
    TypeCoefficient(1, QStringLiteral("1"));
    EXPECT_EQ(Text("txtInput"), QString());
    EXPECT_EQ(Text("txtOutput"), QString());
}

TEST_F(MainWindowTest, TabOrderRunsThroughTheGridFromTheHighestPower) {
    OpenWindow();
    EXPECT_EQ(QApplication::focusWidget(), Coef(12));
    for (int power = 11; power >= 0; --power) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Coef(power));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("txtInput"));
    EXPECT_EQ(Find<QLineEdit>(QStringLiteral("txtFactor"))->focusPolicy() & Qt::TabFocus, 0);
    EXPECT_EQ(Find<QLineEdit>(QStringLiteral("txtOutput"))->focusPolicy() & Qt::TabFocus, 0);
}

TEST_F(MainWindowTest, FocusSelectsFromTheCaretToTheEnd) {
    OpenWindow();
    // A text the program wrote leaves the caret at the start: the visit selects it all.
    EXPECT_EQ(Coef(12)->selectedText(), QStringLiteral("0"));
    QLineEdit* box = Coef(5);
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(box, QStringLiteral("123"));
    box->setCursorPosition(1);
    Type(box, QString());
    EXPECT_EQ(box->selectedText(), QStringLiteral("23"));
    EXPECT_EQ(box->selectionStart(), 1);
    QTest::keyClicks(box, QStringLiteral("9"));
    EXPECT_EQ(box->text(), QStringLiteral("19"));
}

TEST_F(MainWindowTest, PutMovesTheFactorIntoTheGrid) {
    OpenWindow();
    auto* put = Find<QPushButton>(QStringLiteral("cmdPut"));
    EXPECT_FALSE(put->isEnabled());
    // x^3 - x^2 - 4x - 6 = (x - 3)(x^2 + 2x + 2): the factor x^2 + 2x + 2 is left.
    EnterGrid({{3, "1"}, {2, "-1"}, {1, "-4"}, {0, "-6"}});
    PressCtrl(Qt::Key_R);
    ASSERT_FALSE(Text("txtFactor").isEmpty());
    ASSERT_TRUE(put->isEnabled());
    QTest::mouseClick(put, Qt::LeftButton);
    EXPECT_EQ(Coef(2)->text(), QStringLiteral(" 1"));
    EXPECT_EQ(Coef(1)->text(), QStringLiteral(" 2"));
    EXPECT_EQ(Coef(0)->text(), QStringLiteral(" 2"));
    EXPECT_EQ(Coef(3)->text(), QStringLiteral(" 0"));
    EXPECT_EQ(Text("txtEquation"), "x^2 + 2" + kDot + "x + 2 = 0");
    EXPECT_EQ(Find<QLabel>(QStringLiteral("lblMsg"))->text(),
              QStringLiteral("Coefficients transferred"));
    EXPECT_FALSE(put->isEnabled());
}

} // namespace
} // namespace valdrex
