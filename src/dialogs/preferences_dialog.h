#pragma once

#include "model/module_state.h"

#include <QDialog>
#include <QString>

#include <functional>

class QCheckBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QPushButton;

namespace valdrex {

// The Preferences dialog. OK copies the four check boxes into the settings; a file chosen with
// Browse is stored at once, even when the dialog is then cancelled.
class frmOptions : public QDialog {
    Q_OBJECT

  public:
    frmOptions(Settings& values, QWidget* parent = nullptr);

    // Shows the prepared file dialog and returns the chosen name, or "" when cancelled.
    // Replaceable so that the choice can be made without a real dialog.
    std::function<QString(QFileDialog&)> runFileDialog;

  private:
    void Form_Load();
    void UpdatePathControls();
    void chkOpt_Click();
    void cmdBrowse_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    Settings& values_;
    QCheckBox* chkOpt;
    QGroupBox* fraPath;
    QLabel* lblPath;
    QPushButton* cmdBrowse;
    QCheckBox* chkOvw;
    QCheckBox* chkES;
    QCheckBox* chkShowSplash;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

// Shows the dialog modally over `parent` and returns when it is closed.
void ShowPreferences(Settings& values, QWidget* parent);

} // namespace valdrex
