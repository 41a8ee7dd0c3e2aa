#include "main_window_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace valdrex {
namespace {

QString Clipboard() {
    return QGuiApplication::clipboard()->text();
}

void SetClipboard(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

struct MathsCase {
    Grid grid;
    bool solve;
    bool approximate;
};

TEST_F(MainWindowTest, MathsMenuOffersTheCommandsForTheDegree) {
    const std::vector<MathsCase> cases = {
        {{{5, "-2"}}, false, true},
        {{{5, "0"}, {4, "1"}}, true, true},
        {{{2, "1"}, {1, "1"}, {0, "1"}}, true, false},
    };
    OpenWindow();
    for (const MathsCase& c : cases) {
        EnterGrid(c.grid);
        OpenAndCloseMenu(QStringLiteral("mnuSolve"));
        EXPECT_EQ(IsEnabled(QStringLiteral("mnuSolveFind")), c.solve);
        EXPECT_EQ(IsEnabled(QStringLiteral("mnuSolveApproximate")), c.approximate);
        EXPECT_TRUE(IsEnabled(QStringLiteral("mnuSolveRuffini")));
        EXPECT_TRUE(IsEnabled(QStringLiteral("mnuSolveTest")));
    }
}

TEST_F(MainWindowTest, CtrlSInsideACoefficientBoxResetsTheGrid) {
    OpenWindow();
    TypeCoefficient(3, QStringLiteral("2"));
    TypeCoefficient(1, QStringLiteral("-1/2"));
    ASSERT_TRUE(Coef(1)->hasFocus());
    PressCtrl(Qt::Key_S);
    for (int power = 0; power <= 12; ++power)
        EXPECT_EQ(Coef(power)->text(), QStringLiteral("0"));
    EXPECT_EQ(Text("txtEquation"), QStringLiteral("0 = 0"));
}

TEST_F(MainWindowTest, CtrlFSolvesAndAppendsTheRecord) {
    OpenWindow();
    EnterGrid({{2, "1"}, {1, "-3"}, {0, "2"}});
    PressCtrl(Qt::Key_F);
    auto* list = Find<QListWidget>(QStringLiteral("lstSol"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("x1 = 2"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("x2 = 1"));
    EXPECT_EQ(Find<QLabel>(QStringLiteral("lblMsg"))->text(), QStringLiteral("Solutions found"));
    EXPECT_EQ(Find<QLabel>(QStringLiteral("lblInfo"))->text(),
              QString::fromStdString("The equation and the solutions are saved in the file " +
                                     state_.DatabaseFile));
    EXPECT_TRUE(ReadFile(DatabasePath()).contains("x^2 - 3\xB7x + 2 = 0; S={ 2; 1}\r\n"));
}

TEST_F(MainWindowTest, DisabledSolveIgnoresItsShortcut) {
    OpenWindow();
    EnterGrid({{5, "1"}, {1, "2"}, {0, "-4"}});
    PressCtrl(Qt::Key_F);
    EXPECT_EQ(Find<QListWidget>(QStringLiteral("lstSol"))->count(), 0);
    EXPECT_TRUE(ReadFile(DatabasePath()).isEmpty());
    // The grid changes after the menu was last opened: the shortcut sees the new state.
    Coef(5)->setText(QStringLiteral("0"));
    PressCtrl(Qt::Key_F);
    EXPECT_EQ(Find<QListWidget>(QStringLiteral("lstSol"))->count(), 1);
}

TEST_F(MainWindowTest, EditMenuFollowsTheActiveControlAndTheClipboard) {
    struct Case {
        const char* focus;
        bool selectAll;
        const char* clipboard;
        bool cutAndCopy;
        bool paste;
    };
    const std::vector<Case> cases = {
        {"txtCoef_2", true, "", true, false},    {"txtCoef_2", false, "3/4", false, true},
        {"txtInput", false, "3/4", false, true}, {"txtFactor", false, "3/4", false, false},
        {"txtNote", true, "abc", true, true},    {"txtEquation", true, "1", true, true},
        {"cmdTest", false, "3/4", false, false}, {"lstSol", false, "3/4", false, false},
    };
    OpenWindow();
    Coef(2)->setText(QStringLiteral("12"));
    Find<QPlainTextEdit>(QStringLiteral("txtNote"))->setPlainText(QStringLiteral("note"));
    for (const Case& c : cases) {
        SetClipboard(QLatin1String(c.clipboard));
        auto* focus = Find<QWidget>(QLatin1String(c.focus));
        focus->setFocus();
        if (auto* line = qobject_cast<QLineEdit*>(focus))
            c.selectAll ? line->selectAll() : line->deselect();
        else if (auto* note = qobject_cast<QPlainTextEdit*>(focus))
            note->selectAll();
        OpenAndCloseMenu(QStringLiteral("mnuEdit"));
        EXPECT_EQ(IsEnabled(QStringLiteral("mnuEditCut")), c.cutAndCopy) << c.focus;
        EXPECT_EQ(IsEnabled(QStringLiteral("mnuCopySelection")), c.cutAndCopy) << c.focus;
        EXPECT_EQ(IsEnabled(QStringLiteral("mnuEditPaste")), c.paste) << c.focus;
        EXPECT_TRUE(IsEnabled(QStringLiteral("mnuCopyAll")));
        EXPECT_TRUE(IsEnabled(QStringLiteral("mnuEditDelete")));
    }
}

TEST_F(MainWindowTest, CutMovesTheSelectionToTheClipboard) {
    OpenWindow();
    QLineEdit* box = Coef(2);
    box->setFocus();
    box->setText(QStringLiteral("125"));
    box->setSelection(0, 2);
    PressCtrl(Qt::Key_X);
    EXPECT_EQ(box->text(), QStringLiteral("5"));
    EXPECT_EQ(Clipboard(), QStringLiteral("12"));
    EXPECT_EQ(Text("txtEquation"), "5" + kDot + "x^2 = 0");

    box->selectAll();
    PressCtrl(Qt::Key_C);
    EXPECT_EQ(Clipboard(), QStringLiteral("5"));
    EXPECT_EQ(box->text(), QStringLiteral("5"));
}

TEST_F(MainWindowTest, CutFromAReadOnlyBoxChangesWhatTheRecordShows) {
    OpenWindow();
    TypeCoefficient(0, QStringLiteral("5"));
    auto* equation = Find<QLineEdit>(QStringLiteral("txtEquation"));
    equation->setFocus();
    equation->setSelection(0, 2);
    PressCtrl(Qt::Key_X);
    EXPECT_EQ(equation->text(), QStringLiteral("= 0"));
    EXPECT_EQ(Clipboard(), QStringLiteral("5 "));
    EXPECT_EQ(window_->model().equation(), "= 0");
}

struct PasteCase {
    const char* box;
    const char* clipboard;
    bool accepted;
};

TEST_F(MainWindowTest, PasteChecksTheShapeOfANumber) {
    const std::vector<PasteCase> cases = {
        {"txtCoef_1", "3/4", true},       {"txtInput", "3/4", false},
        {"txtInput", "-0.25", true},      {"txtCoef_1", "-0.25", true},
        {"txtCoef_1", "0.25-", false},    {"txtCoef_1", "1,5", false},
        {"txtCoef_1", "1/2.5", true},     {"txtCoef_1", "1/2/3", false},
        {"txtNote", "a, b\nc + 1", true}, {"txtEquation", "2x", false},
    };
    OpenWindow();
    for (const PasteCase& c : cases) {
        PressCtrl(Qt::Key_S);
        answerer_.clear();
        const QString pasted = QString::fromLatin1(c.clipboard);
        SetClipboard(pasted);
        auto* box = Find<QWidget>(QLatin1String(c.box));
        box->setFocus();
        if (auto* line = qobject_cast<QLineEdit*>(box))
            line->selectAll();
        PressCtrl(Qt::Key_V);
        QString text;
        if (auto* line = qobject_cast<QLineEdit*>(box))
            text = line->text();
        else
            text = qobject_cast<QPlainTextEdit*>(box)->toPlainText();
        if (c.accepted) {
            EXPECT_EQ(text, pasted) << c.box << " " << c.clipboard;
            EXPECT_TRUE(answerer_.boxes().empty());
        } else {
            EXPECT_NE(text, pasted) << c.box << " " << c.clipboard;
            ASSERT_EQ(answerer_.boxes().size(), 1u) << c.clipboard;
            const ShownBox& shown = answerer_.boxes().front();
            EXPECT_EQ(shown.text,
                      QStringLiteral("The text you are trying to paste is not a valid number"));
            EXPECT_EQ(shown.icon, QMessageBox::NoIcon);
            EXPECT_EQ(shown.title, QStringLiteral("Valdrex"));
            EXPECT_TRUE(shown.okOnly);
        }
    }
}

TEST_F(MainWindowTest, PastedCoefficientRendersTheEquation) {
    OpenWindow();
    SetClipboard(QStringLiteral("3/4"));
    Coef(2)->setFocus(Qt::TabFocusReason);
    PressCtrl(Qt::Key_V);
    EXPECT_EQ(Text("txtEquation"), "3/4" + kDot + "x^2 = 0");
}

TEST_F(MainWindowTest, CtrlACopiesAllTexts) {
    OpenWindow();
    TypeCoefficient(1, QStringLiteral("2"));
    TypeCoefficient(0, QStringLiteral("-4"));
    Find<QPlainTextEdit>(QStringLiteral("txtNote"))->setPlainText(QStringLiteral("first\nsecond"));
    Coef(0)->setFocus();
    PressCtrl(Qt::Key_A);
    EXPECT_EQ(Clipboard().toStdString(),
              "2" + std::string("\xC2\xB7") + "x - 4 = 0; S={}\r\nfirst\r\nsecond");
    EXPECT_EQ(Find<QLabel>(QStringLiteral("lblInfo"))->text(),
              QStringLiteral("Copy all texts in the clipboard: done!"));
}

} // namespace
} // namespace valdrex
