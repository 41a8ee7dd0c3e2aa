// The main window's commands that open other windows: the database viewer, Preferences, the
// methods' options dialogs, Test many numbers, the plot, Help and About.
#include "app/main_window.h"
#include "app/plot_loader.h"
#include "database/record.h"
#include "dialogs/many_numbers_window.h"
#include "dialogs/message_box.h"
#include "dialogs/method_options_dialog.h"
#include "dialogs/preferences_dialog.h"
#include "dialogs/program_windows.h"
#include "dialogs/scan_progress_dialog.h"
#include "dialogs/view_db_window.h"

#include <QAction>
#include <QGroupBox>

namespace valdrex {

void frmMain::ConnectDialogMenus() {
    connect(mnuFileApri, &QAction::triggered, this, &frmMain::mnuFileApri_Click);
    connect(mnuSolveTest, &QAction::triggered, this, &frmMain::mnuSolveTest_Click);
    connect(mnuSolvePlot, &QAction::triggered, this, &frmMain::mnuSolvePlot_Click);
    connect(mnuOptions, &QAction::triggered, this, &frmMain::mnuOptions_Click);
    connect(mnuHelpHelp, &QAction::triggered, this, &frmMain::mnuHelpHelp_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
}

void frmMain::mnuFileApri_Click() {
    if (frmViewDB* viewer = ShowDatabaseViewer(model_.state().DatabaseFile, this))
        connect(viewer, &frmViewDB::LoadLine, this, &frmMain::LoadRecord, Qt::UniqueConnection);
}

// A line of the log back into the grid: the record's equation read as a typed one, so that it
// comes back exactly and as one step of the grid's history.
void frmMain::LoadRecord(const QString& line) {
    raise();
    activateWindow();
    const std::string text = line.toStdString();
    EnterEquationLine(QString::fromStdString(std::string(RecordEquation(text))));
}

void frmMain::SolveWith(const MethodRow& row, QAction* item) {
    // A shortcut reaches the item without its menu having opened.
    mnuSolve_Click();
    if (!item->isEnabled())
        return;
    // The options are asked for between the reading of the grid and the solve: a box that
    // cannot be read stops the solve before, and a cancelled dialog leaves the outputs emptied.
    MethodOptions& options = model_.state().Options;
    const auto confirmed = [&] { return ShowMethodOptions(row, options, this); };
    SolveResult result = model_.StartSolve(row.id);
    if (!result.unread && confirmed()) {
        ScanProgressDialog(this).Run(
            [&](const ScanProgress& progress, const std::atomic<bool>* stop) {
                result = model_.FinishSolve(options, progress, stop);
            });
    }
    ShowCommandResult(result.errors, result.unread);
}

void frmMain::mnuSolveTest_Click() {
    const TestResult prepared = model_.PrepareTestMany();
    ShowCommandResult(prepared.errors, prepared.unread);
    if (prepared.errors.empty() && !prepared.unread)
        ShowTestManyNumbers(model_.state(), this);
}

void frmMain::mnuSolvePlot_Click() {
    // The plot opens beside the window, never over the equation and the grid being typed into.
    const QRect typing(Frame3->mapToGlobal(QPoint(0, 0)),
                       Frame1->mapToGlobal(QPoint(Frame1->width() - 1, Frame1->height() - 1)));
    if (const std::optional<ErrorBox> failure =
            OpenPlot(model_.coefficients(), store_, this, typing))
        ShowErrorBox(*failure, this);
}

void frmMain::mnuOptions_Click() {
    ShowPreferences(model_.state(), this);
}

void frmMain::mnuHelpHelp_Click() {
    if (const std::optional<ErrorBox> failure = ShowHelp(this))
        ShowErrorBox(*failure, this);
}

void frmMain::mnuHelpAbout_Click() {
    ShowAbout(model_.state(), this);
}

} // namespace valdrex
