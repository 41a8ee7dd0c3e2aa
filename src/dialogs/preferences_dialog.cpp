#include "dialogs/preferences_dialog.h"

#include "core/failure.h"
#include "database/database_file.h"
#include "dialogs/dialog_parts.h"
#include "dialogs/message_box.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace valdrex {
namespace {

constexpr char kDatabaseExtension[] = "txt";

QString RunFileDialog(QFileDialog& dialog) {
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

Qt::CheckState CheckState(bool checked) {
    return checked ? Qt::Checked : Qt::Unchecked;
}

} // namespace

frmOptions::frmOptions(Settings& values, QWidget* parent)
    : QDialog(parent, kDialogFrame), runFileDialog(RunFileDialog), values_(values),
      chkOpt(new QCheckBox("Save the equations and the solutions")),
      fraPath(new QGroupBox("Path for saving")), lblPath(new QLabel),
      cmdBrowse(new QPushButton("Browse")), chkOvw(new QCheckBox("Overwrite the existing file")),
      chkES(new QCheckBox("Evaluate simbolically the quadratic equations")),
      chkShowSplash(new QCheckBox("Show the welcome window at startup")),
      cmdOK(new QPushButton("&OK")), cmdCancel(new QPushButton("&Cancel")) {
    setWindowTitle("Preferences");
    setModal(true);

    chkOpt->setObjectName("chkOpt");
    fraPath->setObjectName("fraPath");
    lblPath->setObjectName("lblPath");
    cmdBrowse->setObjectName("cmdBrowse");
    chkOvw->setObjectName("chkOvw");
    chkES->setObjectName("chkES");
    chkShowSplash->setObjectName("chkShowSplash");
    cmdOK->setObjectName("cmdOK");
    cmdCancel->setObjectName("cmdCancel");
    cmdOK->setDefault(true);
    lblPath->setWordWrap(true);

    auto* pathLayout = new QHBoxLayout(fraPath);
    pathLayout->addWidget(lblPath, 1);
    pathLayout->addWidget(cmdBrowse);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chkOpt);
    layout->addWidget(fraPath);
    layout->addWidget(chkOvw);
    layout->addWidget(chkES);
    layout->addWidget(chkShowSplash);
    layout->addLayout(buttons);

    connect(chkOpt, &QCheckBox::clicked, this, &frmOptions::chkOpt_Click);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmOptions::cmdBrowse_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);

    Form_Load();
}

// A switch shows checked only for the value that turns it on: 1, or for overwriting any
// nonzero value, the way the rest of the program reads them.
void frmOptions::Form_Load() {
    chkOpt->setCheckState(CheckState(values_.SaveEquations));
    lblPath->setText(QFile::decodeName(values_.DatabaseFile.c_str()));
    chkES->setCheckState(CheckState(values_.EvaluateSymbolically));
    chkShowSplash->setCheckState(CheckState(values_.ShowWelcome));
    UpdatePathControls();
}

void frmOptions::UpdatePathControls() {
    const bool saving = chkOpt->isChecked();
    fraPath->setEnabled(saving);
    cmdBrowse->setEnabled(saving);
    lblPath->setEnabled(saving);
    chkOvw->setEnabled(saving);
    chkOvw->setCheckState(CheckState(saving && values_.OverwriteFile));
}

void frmOptions::chkOpt_Click() {
    UpdatePathControls();
}

// The chosen file is created at once; a file that cannot be created leaves the path as it was.
void frmOptions::cmdBrowse_Click() {
    QFileDialog dialog(this, "Select the database");
    dialog.setOption(
        QFileDialog::DontUseNativeDialog); // native open dialogs insist on an existing file
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QString(kAppTitle) + " database (*." + kDatabaseExtension + ")");
    dialog.setDefaultSuffix(kDatabaseExtension);
    // The list's columns would keep their first widths and cut sizes and dates.
    for (QTreeView* list : dialog.findChildren<QTreeView*>()) {
        list->header()->setStretchLastSection(false);
        list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    }
    const QFileInfo current(QFile::decodeName(values_.DatabaseFile.c_str()));
    if (current.absoluteDir().exists())
        dialog.setDirectory(current.absoluteDir());

    const QString chosen = runFileDialog(dialog);
    if (chosen.isEmpty())
        return;
    // File names are bytes in the system's encoding, not necessarily UTF-8.
    const std::string path = QFile::encodeName(chosen).toStdString();
    try {
        EnsureFileExists(path);
    } catch (const RuntimeFailure& failure) {
        ShowErrorBox(CriticalErrorBox(failure), this);
        return;
    }
    values_.DatabaseFile = path;
    lblPath->setText(chosen);
}

void frmOptions::cmdOK_Click() {
    values_.SaveEquations = chkOpt->isChecked();
    values_.OverwriteFile = chkOvw->isChecked();
    values_.EvaluateSymbolically = chkES->isChecked();
    values_.ShowWelcome = chkShowSplash->isChecked();
    accept();
}

void frmOptions::cmdCancel_Click() {
    reject();
}

void ShowPreferences(Settings& values, QWidget* parent) {
    frmOptions dialog(values, parent);
    dialog.exec();
}

} // namespace valdrex
