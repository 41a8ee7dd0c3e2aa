#include "main_window_fixture.h"

#include <QCheckBox>
#include <QListWidget>

namespace valdrex {
namespace {

TEST_F(MainWindowTest, PreferencesChangeTheSharedSettings) {
    OpenWindow();
    answer_.onDialog = [](QDialog* dialog) {
        dialog->findChild<QCheckBox*>("chkOvw")->setChecked(true);
        dialog->findChild<QPushButton*>("cmdOK")->click();
    };
    Find<QAction>("mnuOptions")->trigger();
    EXPECT_EQ(answer_.dialogs, QStringList{"valdrex::frmOptions"});
    EXPECT_EQ(state_.OverwriteFile, 1);
    EXPECT_EQ(state_.SaveEquations, 1);
}

TEST_F(MainWindowTest, TestManyNumbersOpensOnlyWithoutZeroDenominator) {
    OpenWindow();
    Coef(2)->setText("2/0");
    Find<QAction>("mnuSolveTest")->trigger();
    EXPECT_TRUE(answer_.dialogs.isEmpty());
    EXPECT_EQ(Label("lblMsg"), "Division by 0");
    EXPECT_EQ(QApplication::focusWidget(), Coef(2));
    Coef(2)->setText("1/2");
    Find<QAction>("mnuSolveTest")->trigger();
    EXPECT_EQ(answer_.dialogs.size(), 1);
    EXPECT_EQ(state_.TestCoef[2], 0.5);
}

TEST_F(MainWindowTest, CancelledOptionsDialogSolvesNothing) {
    OpenWindow();
    EnterGrid({{3, "1"}, {0, "-8"}});
    PressCtrl(Qt::Key_F);
    ASSERT_GT(Find<QListWidget>("lstSol")->count(), 0);
    const QByteArray saved = ReadFile(DatabasePath());
    for (const char* item : {"mnuSolveBaristow", "mnuSolveDicotomic", "mnuSolveNewton"}) {
        Find<QAction>(item)->trigger();
        EXPECT_EQ(Find<QListWidget>("lstSol")->count(), 0) << item;
    }
    EXPECT_EQ(answer_.dialogs.size(), 3);
    EXPECT_EQ(ReadFile(DatabasePath()), saved);
}

} // namespace
} // namespace valdrex
