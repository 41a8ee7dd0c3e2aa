#include "main_window_fixture.h"

#include <QCheckBox>
#include <QListWidget>
#include <QTest>

namespace valdrex {
namespace {

TEST_F(MainWindowTest, PreferencesChangeTheSharedSettings) {
    OpenWindow();
    answerer_.answerDialog = [](QDialog& dialog) {
        dialog.findChild<QCheckBox*>(QStringLiteral("chkOvw"))->setChecked(true);
        dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    };
    Find<QAction>(QStringLiteral("mnuOptions"))->trigger();
    EXPECT_EQ(answerer_.dialogs(), QStringList{QStringLiteral("valdrex::frmOptions")});
    EXPECT_EQ(state_.OverwriteFile, 1);
    EXPECT_EQ(state_.SaveEquations, 1);
}

TEST_F(MainWindowTest, TestManyNumbersOpensOnlyWithoutZeroDenominator) {
    OpenWindow();
    Coef(2)->setText(QStringLiteral("2/0"));
    Find<QAction>(QStringLiteral("mnuSolveTest"))->trigger();
    EXPECT_TRUE(answerer_.dialogs().isEmpty());
    EXPECT_EQ(Find<QLabel>(QStringLiteral("lblMsg"))->text(), QStringLiteral("Division by 0"));
    EXPECT_EQ(QApplication::focusWidget(), Coef(2));

    Coef(2)->setText(QStringLiteral("1/2"));
    Find<QAction>(QStringLiteral("mnuSolveTest"))->trigger();
    EXPECT_EQ(answerer_.dialogs().size(), 1);
    EXPECT_EQ(state_.TestCoef[2], 0.5);
}

TEST_F(MainWindowTest, CancelledOptionsDialogSolvesNothing) {
    OpenWindow();
    TypeCoefficient(3, QStringLiteral("1"));
    TypeCoefficient(0, QStringLiteral("-8"));
    PressCtrl(Qt::Key_F);
    ASSERT_GT(Find<QListWidget>(QStringLiteral("lstSol"))->count(), 0);
    const QByteArray saved = ReadFile(DatabasePath());
    for (const char* item : {"mnuSolveBaristow", "mnuSolveDicotomic", "mnuSolveNewton"}) {
        Find<QAction>(QLatin1String(item))->trigger();
        EXPECT_EQ(Find<QListWidget>(QStringLiteral("lstSol"))->count(), 0) << item;
    }
    EXPECT_EQ(answerer_.dialogs().size(), 3);
    EXPECT_EQ(ReadFile(DatabasePath()), saved);
}

} // namespace
} // namespace valdrex
