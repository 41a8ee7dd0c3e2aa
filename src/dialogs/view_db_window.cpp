#include "dialogs/view_db_window.h"

#include "core/error_box.h"
#include "database/database_file.h"
#include "dialogs/viewer_text.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextDocument>

namespace valdrex {
namespace {

constexpr int kInitialWidth = 640;
constexpr int kInitialHeight = 420;

void ShowBox(const ErrorBox& box, QWidget* parent) {
    QMessageBox message(box.icon == BoxIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                        QString::fromStdString(box.title), QString::fromStdString(box.text),
                        QMessageBox::Ok, parent);
    message.exec();
}

QMessageBox::StandardButton AskToSave(QWidget* parent) {
    QMessageBox question(QMessageBox::NoIcon, kAppTitle, "Do you wish to save changes?",
                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    question.setDefaultButton(QMessageBox::Yes);
    question.setEscapeButton(QMessageBox::Cancel);
    return static_cast<QMessageBox::StandardButton>(question.exec());
}

} // namespace

frmViewDB::frmViewDB(const std::string& path, const std::string& contents)
    : path_(path), SavedText(contents), txtDB(new QPlainTextEdit(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromStdString(path));
    resize(kInitialWidth, kInitialHeight);

    mnuVFile = menuBar()->addMenu("&File");
    mnuVFile->setObjectName("mnuVFile");
    mnuVUpdate = mnuVFile->addAction("&Save", this, &frmViewDB::mnuVUpdate_Click);
    mnuVUpdate->setObjectName("mnuVUpdate");
    mnuVClose = mnuVFile->addAction("&Close", this, &frmViewDB::mnuVClose_Click);
    mnuVClose->setObjectName("mnuVClose");

    // Both scroll bars: lines are never wrapped. The editor fills the window as it resizes.
    txtDB->setObjectName("txtDB");
    txtDB->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtDB->setPlainText(EditorTextFromFile(QString::fromStdString(contents)));
    setCentralWidget(txtDB);
}

std::string frmViewDB::EditedText() const {
    return FileTextFromEditor(txtDB->document()->toRawText()).toStdString();
}

void frmViewDB::closeEvent(QCloseEvent* event) {
    if (EditedText() != SavedText) {
        switch (AskToSave(this)) {
        case QMessageBox::Yes:
            SaveDatabase();
            break;
        case QMessageBox::No:
            break;
        default:
            event->ignore();
            return;
        }
    }
    event->accept();
}

void frmViewDB::mnuVUpdate_Click() {
    SaveDatabase();
}

void frmViewDB::mnuVClose_Click() {
    close();
}

// The text counts as saved even when writing fails; the failure is reported and the text
// stays in the window.
void frmViewDB::SaveDatabase() {
    SavedText = EditedText();
    try {
        WriteWholeFile(path_, SavedText);
    } catch (const RuntimeFailure& failure) {
        ShowBox(CriticalErrorBox(failure), this);
    }
}

frmViewDB* ShowDatabaseViewer(const std::string& path, QWidget* parent) {
    static QPointer<frmViewDB> viewer;
    std::string contents;
    try {
        contents = ReadWholeFile(path);
    } catch (const RuntimeFailure& failure) {
        ShowBox(CriticalErrorBox(failure), parent);
        return nullptr;
    }
    // No parent: the viewer outlives the main window until the user closes it.
    if (viewer == nullptr)
        viewer = new frmViewDB(path, contents);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

} // namespace valdrex
