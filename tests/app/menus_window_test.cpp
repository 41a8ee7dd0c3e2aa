#include "main_window_fixture.h"

#include <QListWidget>
#include <QPlainTextEdit>

namespace valdrex {
namespace {

QString Clipboard() {
    return QGuiApplication::clipboard()->text();
}

TEST_F(MainWindowTest, MathsMenuOffersTheCommandsForTheDegreeWhenOpened) {
    OpenWindow();
    for (const auto& [grid, solve] : {std::pair{Grid{{5, "-2"}}, false}, {Grid{{2, "1"}}, true}}) {
        EnterGrid(grid);
        EXPECT_EQ(IsEnabled("mnuSolve", "mnuSolveFind"), solve);
        EXPECT_EQ(IsEnabled("mnuSolve", "mnuSolveApproximate"), !solve);
        EXPECT_TRUE(IsEnabled("mnuSolve", "mnuSolveRuffini") &&
                    IsEnabled("mnuSolve", "mnuSolveTest"));
    }
}

TEST_F(MainWindowTest, CtrlSInsideACoefficientBoxResetsTheGrid) {
    OpenWindow();
    Type(Coef(3), "2");
    Type(Coef(1), "-1/2");
    ASSERT_TRUE(Coef(1)->hasFocus());
    PressCtrl(Qt::Key_S);
    for (int power = 0; power <= 12; ++power)
        EXPECT_EQ(Coef(power)->text(), "0");
    EXPECT_EQ(Text("txtEquation"), "0 = 0");
}

TEST_F(MainWindowTest, CtrlFSolvesAndAppendsTheRecord) {
    OpenWindow();
    EnterGrid({{2, "1"}, {1, "-3"}, {0, "2"}});
    PressCtrl(Qt::Key_F);
    auto* list = Find<QListWidget>("lstSol");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text() + list->item(1)->text(), "x1 = 2x2 = 1");
    EXPECT_EQ(Label("lblMsg"), "Solutions found");
    EXPECT_EQ(Label("lblInfo").toStdString(),
              "The equation and the solutions are saved in the file " + state_.DatabaseFile);
    EXPECT_EQ(ReadFile(DatabasePath()), "x^2 - 3\xB7x + 2 = 0; S={ 2; 1}\r\n");
}

TEST_F(MainWindowTest, DisabledSolveIgnoresItsShortcut) {
    OpenWindow();
    EnterGrid({{5, "1"}, {1, "2"}, {0, "-4"}});
    PressCtrl(Qt::Key_F);
    EXPECT_EQ(Find<QListWidget>("lstSol")->count(), 0);
    EXPECT_TRUE(ReadFile(DatabasePath()).isEmpty());
    // The grid changes after the menu was last opened: the shortcut sees the new state.
    Coef(5)->setText("0");
    PressCtrl(Qt::Key_F);
    EXPECT_EQ(Find<QListWidget>("lstSol")->count(), 1);
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
    OpenWindow();
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

TEST_F(MainWindowTest, CutAndCopyTheSelection) {
    OpenWindow();
    QLineEdit* box = Coef(2);
    box->setFocus();
    box->setText("125");
    box->setSelection(0, 2);
    PressCtrl(Qt::Key_X);
    EXPECT_EQ(box->text() + "|" + Clipboard(), "5|12");
    EXPECT_EQ(Text("txtEquation"), "5" + kDot + "x^2 = 0");
    box->selectAll();
    PressCtrl(Qt::Key_C);
    EXPECT_EQ(box->text() + "|" + Clipboard(), "5|5");
}

TEST_F(MainWindowTest, CutFromAReadOnlyBoxChangesWhatTheRecordShows) {
    OpenWindow();
    Type(Coef(0), "5");
    QLineEdit* equation = Find("txtEquation");
    equation->setFocus();
    equation->setSelection(0, 2);
    PressCtrl(Qt::Key_X);
    EXPECT_EQ(equation->text() + "|" + Clipboard(), "= 0|5 ");
    EXPECT_EQ(window_->model().equation(), "= 0");
}

TEST_F(MainWindowTest, PasteChecksTheShapeOfANumberForTheBox) {
    const SeenBox refused{"The text you are trying to paste is not a valid number", "Valdrex"};
    const struct {
        const char* box;
        const char* clipboard;
        bool accepted;
    } cases[] = {
        {"txtCoef_1", "3/4", true},  {"txtCoef_1", "1,5", false},      {"txtInput", "3/4", false},
        {"txtInput", "-0.25", true}, {"txtNote", "a, b\nc + 1", true}, {"txtEquation", "2x", false},
    };
    OpenWindow();
    for (const auto& c : cases) {
        PressCtrl(Qt::Key_S);
        answer_.boxes.clear();
        QGuiApplication::clipboard()->setText(c.clipboard);
        auto* box = Find<QWidget>(c.box);
        box->setFocus();
        auto* line = qobject_cast<QLineEdit*>(box);
        if (line != nullptr)
            line->selectAll();
        PressCtrl(Qt::Key_V);
        const QString text =
            line ? line->text() : qobject_cast<QPlainTextEdit*>(box)->toPlainText();
        EXPECT_EQ(text == c.clipboard, c.accepted) << c.box << " " << c.clipboard;
        EXPECT_EQ(answer_.boxes, c.accepted ? std::vector<SeenBox>{} : std::vector{refused});
    }
    QGuiApplication::clipboard()->setText("3/4");
    Coef(2)->setFocus(Qt::TabFocusReason);
    PressCtrl(Qt::Key_V);
    EXPECT_EQ(Text("txtEquation"), "3/4" + kDot + "x^2 = 0");
}

TEST_F(MainWindowTest, CtrlACopiesAllTexts) {
    OpenWindow();
    Type(Coef(1), "2");
    Type(Coef(0), "-4");
    Find<QPlainTextEdit>("txtNote")->setPlainText("first\nsecond");
    PressCtrl(Qt::Key_A);
    EXPECT_EQ(Clipboard(), "2" + kDot + "x - 4 = 0; S={}\r\nfirst\r\nsecond");
    EXPECT_EQ(Label("lblInfo"), "Copy all texts in the clipboard: done!");
}

} // namespace
} // namespace valdrex
