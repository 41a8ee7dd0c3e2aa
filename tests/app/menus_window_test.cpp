#include "main_window_fixture.h"

#include <QCheckBox>

namespace valdrex {
namespace {

// The shortcut works as its menu item would, whether or not the menu was opened since the
// grid changed.
TEST_F(MainWindowTest, MathsMenuAndCtrlFFollowTheDegree) {
    EnterGrid({{5, "1"}, {1, "2"}, {0, "-4"}});
    PressCtrl(Qt::Key_F);
    EXPECT_EQ(Solutions(), 0);
    EXPECT_EQ(Database(), "");
    EXPECT_FALSE(IsEnabled("mnuSolve", "mnuSolveFind"));
    EXPECT_TRUE(IsEnabled("mnuSolve", "mnuSolveApproximate") &&
                IsEnabled("mnuSolve", "mnuSolveRuffini") && IsEnabled("mnuSolve", "mnuSolveTest"));
    Coef(5)->setText("0");
    PressCtrl(Qt::Key_F);
    EXPECT_EQ(Find<QListWidget>("lstSol")->item(0)->text(), "x1 = 2");
    EXPECT_EQ(Database(), "2\xB7x - 4 = 0; S={ 2}\r\n");
    EXPECT_TRUE(IsEnabled("mnuSolve", "mnuSolveFind"));
    EXPECT_FALSE(IsEnabled("mnuSolve", "mnuSolveApproximate"));
}

TEST_F(MainWindowTest, CtrlSInsideACoefficientBoxResetsTheGrid) {
    Type(Coef(3), "2");
    Type(Coef(1), "-1/2");
    PressCtrl(Qt::Key_S);
    for (int power = 0; power <= 12; ++power)
        EXPECT_EQ(Coef(power)->text(), "0");
    EXPECT_EQ(Text("txtEquation"), "0 = 0");
}

TEST_F(MainWindowTest, EditMenuFollowsTheActiveControlAndTheClipboard) {
    const struct {
        const char* focus;
        bool selectAll;
        const char* clipboard;
        bool cutAndCopy, paste;
    } cases[] = {
        {"txtCoef_2", true, "", true, false},    {"txtCoef_2", false, "3/4", false, true},
        {"txtInput", false, "3/4", false, true}, {"txtFactor", false, "3/4", false, false},
        {"txtNote", true, "abc", true, true},    {"txtEquation", true, "1", true, true},
        {"cmdTest", false, "3/4", false, false}, {"lstSol", false, "3/4", false, false},
    };
    Coef(2)->setText("12");
    Find<QPlainTextEdit>("txtNote")->setPlainText("note");
    for (const auto& c : cases) {
        QGuiApplication::clipboard()->setText(c.clipboard);
        auto* focus = Find<QWidget>(c.focus);
        focus->setFocus();
        if (auto* line = qobject_cast<QLineEdit*>(focus))
            c.selectAll ? line->selectAll() : line->deselect();
        else if (auto* note = qobject_cast<QPlainTextEdit*>(focus))
            note->selectAll();
        EXPECT_EQ(IsEnabled("mnuEdit", "mnuEditCut"), c.cutAndCopy) << c.focus;
        EXPECT_EQ(IsEnabled("mnuEdit", "mnuCopySelection"), c.cutAndCopy) << c.focus;
        EXPECT_EQ(IsEnabled("mnuEdit", "mnuEditPaste"), c.paste) << c.focus;
        EXPECT_TRUE(IsEnabled("mnuEdit", "mnuCopyAll") && IsEnabled("mnuEdit", "mnuEditDelete"));
    }
}

TEST_F(MainWindowTest, CutAndCopyTheSelectionEvenFromAReadOnlyBox) {
    QLineEdit* box = Coef(2);
    box->setFocus();
    box->setText("125");
    box->setSelection(0, 2);
    PressCtrl(Qt::Key_X);
    EXPECT_EQ(box->text() + "|" + Clipboard(), "5|12");
    box->selectAll();
    PressCtrl(Qt::Key_C);
    EXPECT_EQ(box->text() + "|" + Clipboard(), "5|5");
    QLineEdit* equation = Find("txtEquation");
    EXPECT_EQ(equation->text(), "5" + kDot + "x^2 = 0");
    equation->setFocus();
    equation->setSelection(0, 2);
    PressCtrl(Qt::Key_X); // changes what the record shows
    EXPECT_EQ(equation->text() + "|" + Clipboard(), "x^2 = 0|5" + kDot);
    EXPECT_EQ(window_->model().equation(), "x^2 = 0");
}

TEST_F(MainWindowTest, PasteChecksTheShapeOfANumberForTheBox) {
    const SeenBox refused{"The text you are trying to paste is not a valid number", "Valdrex"};
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"txtCoef_1", "1,5", false},  {"txtInput", "3/4", false},
        {"txtInput", "-0.25", true},  {"txtNote", "a, b\nc + 1", true},
        {"txtEquation", "2x", false}, {"txtCoef_1", "3/4", true}, // last: the equation follows
    };
    for (const auto& [name, clipboard, accepted] : cases) {
        PressCtrl(Qt::Key_S);
        answer_.boxes.clear();
        QGuiApplication::clipboard()->setText(clipboard);
        auto* box = Find<QWidget>(name);
        box->setFocus();
        auto* line = qobject_cast<QLineEdit*>(box);
        if (line != nullptr)
            line->selectAll();
        PressCtrl(Qt::Key_V);
        const QString text =
            line ? line->text() : qobject_cast<QPlainTextEdit*>(box)->toPlainText();
        EXPECT_EQ(text == clipboard, accepted) << name << " " << clipboard;
        EXPECT_EQ(answer_.boxes, accepted ? Boxes{} : Boxes{refused});
    }
    EXPECT_EQ(Text("txtEquation"), "3/4" + kDot + "x = 0");
}

TEST_F(MainWindowTest, CtrlACopiesAllTexts) {
    Type(Coef(1), "2");
    Type(Coef(0), "-4");
    Find<QPlainTextEdit>("txtNote")->setPlainText("first\nsecond");
    PressCtrl(Qt::Key_A);
    EXPECT_EQ(Clipboard(), "2" + kDot + "x - 4 = 0; S={}\r\nfirst\r\nsecond");
    EXPECT_EQ(Label("lblInfo"), "Copy all texts in the clipboard: done!");
}

TEST_F(MainWindowTest, PreferencesChangeTheSharedSettings) {
    answer_.onDialog = [](QDialog* dialog) {
        Child<QCheckBox>(dialog, "chkOvw")->setChecked(true);
        Child<QPushButton>(dialog, "cmdOK")->click();
    };
    Trigger("mnuOptions");
    EXPECT_EQ(answer_.dialogs, QStringList{"valdrex::frmOptions"});
    EXPECT_EQ(state_.OverwriteFile + state_.SaveEquations, 2);
}

TEST_F(MainWindowTest, TestManyNumbersOpensOnlyWithoutZeroDenominator) {
    Coef(2)->setText("2/0");
    Trigger("mnuSolveTest");
    EXPECT_TRUE(answer_.dialogs.isEmpty());
    EXPECT_EQ(Label("lblMsg"), "Division by 0");
    EXPECT_EQ(QApplication::focusWidget(), Coef(2));
    Coef(2)->setText("1/2");
    Trigger("mnuSolveTest");
    EXPECT_EQ(answer_.dialogs.size(), 1);
    EXPECT_EQ(state_.TestCoef[2], 0.5);
}

TEST_F(MainWindowTest, CancelledOptionsDialogSolvesNothing) {
    EnterGrid({{3, "1"}, {0, "-8"}});
    PressCtrl(Qt::Key_F);
    ASSERT_GT(Solutions(), 0);
    const std::string saved = Database();
    for (const char* item : {"mnuSolveBaristow", "mnuSolveDicotomic", "mnuSolveNewton"}) {
        Trigger(item);
        EXPECT_EQ(Solutions(), 0) << item;
    }
    EXPECT_EQ(answer_.dialogs.size(), 3);
    EXPECT_EQ(Database(), saved);
}

} // namespace
} // namespace valdrex
