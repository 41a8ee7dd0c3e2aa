// The main window's commands that open other windows: the database viewer, Preferences, the
// methods' options dialogs, Test many numbers, the plot, Help and About.
#include "app/main_window.h"
#include "app/plot_loader.h"
#include "dialogs/many_numbers_window.h"
#include "dialogs/message_box.h"
#include "dialogs/method_options_dialog.h"
#include "dialogs/preferences_dialog.h"
#include "dialogs/program_windows.h"
#include "dialogs/scan_progress_dialog.h"
#include "dialogs/view_db_window.h"

#include <QAction>

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
    ShowDatabaseViewer(model_.state().DatabaseFile, this);
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
        ScanProgressDialog progress(this);
        result = model_.FinishSolve(options, progress.callback());
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
    if (const std::optional<ErrorBox> failure = OpenPlot(model_.coefficients(), store_, this))
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
