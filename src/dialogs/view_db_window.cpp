#include "dialogs/view_db_window.h"

#include "core/failure.h"
#include "database/cp1252.h"
#include "database/database_file.h"
#include "dialogs/dialog_parts.h"
#include "dialogs/message_box.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>

namespace valdrex {
namespace {

constexpr int kInitialWidth = 640;
constexpr int kInitialHeight = 420;

constexpr QChar kLineSeparator(0x2028);
constexpr QChar kParagraphSeparator(0x2029);
constexpr QChar kCarriageReturnSymbol(0x240D);

// The viewer shows the file's CR LF line ends as line breaks. Lone line feeds and carriage
// returns have no place of their own in the editor, so they are shown as a soft line break
// (U+2028) and as the carriage-return symbol (U+240D); neither can occur in the file, so an
// unedited text goes back to exactly the bytes it came from.
QString EditorTextFromFile(const QString& fileText) {
    QString editorText;
    editorText.reserve(fileText.size());
    for (qsizetype i = 0; i < fileText.size(); ++i) {
        const QChar c = fileText[i];
        if (c == u'\r' && i + 1 < fileText.size() && fileText[i + 1] == u'\n') {
            editorText += u'\n';
            ++i;
        } else if (c == u'\r') {
            editorText += kCarriageReturnSymbol;
        } else if (c == u'\n') {
            editorText += kLineSeparator;
        } else {
            editorText += c;
        }
    }
    return editorText;
}

// The file text for the editor's raw document text (blocks separated by U+2029).
QString FileTextFromEditor(const QString& rawEditorText) {
    QString fileText;
    fileText.reserve(rawEditorText.size() + rawEditorText.count(kParagraphSeparator));
    for (const QChar c : rawEditorText) {
        if (c == kParagraphSeparator)
            fileText += u"\r\n";
        else if (c == kLineSeparator)
            fileText += u'\n';
        else if (c == kCarriageReturnSymbol)
            fileText += u'\r';
        else
            fileText += c;
    }
    return fileText;
}

QMessageBox::StandardButton AskToSave(QWidget* parent) {
    QMessageBox question(QMessageBox::NoIcon, kAppTitle, "Do you wish to save changes?",
                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    question.setDefaultButton(QMessageBox::Yes);
    question.setEscapeButton(QMessageBox::Cancel);
    return static_cast<QMessageBox::StandardButton>(question.exec());
}

} // namespace

frmViewDB::frmViewDB(const std::string& path, const std::string& fileBytes)
    : path_(path), txtDB(new QPlainTextEdit(this)) {
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
    ShowFile(fileBytes);
    setCentralWidget(txtDB);
}

void frmViewDB::ShowFile(const std::string& fileBytes) {
    fileBytes_ = fileBytes;
    SavedText = DecodeCp1252(fileBytes);
    txtDB->setPlainText(EditorTextFromFile(QString::fromStdString(SavedText)));
}

std::string frmViewDB::EditedText() const {
    return FileTextFromEditor(txtDB->document()->toRawText()).toStdString();
}

void frmViewDB::closeEvent(QCloseEvent* event) {
    if (EditedText() != SavedText) {
        switch (AskToSave(this)) {
        case QMessageBox::Yes:
            if (!AcceptUnstorableCharacters(EditedText(), this) || !SaveDatabase()) {
                event->ignore(); // the edits stay for another try
                return;
            }
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
    if (AcceptUnstorableCharacters(EditedText(), this))
        SaveDatabase();
}

void frmViewDB::mnuVClose_Click() {
    close();
}

// Records appended to the file while the viewer was open (the main window saves while it is)
// are kept after the text; a file changed in any other way is replaced only if the user says.
// The text counts as saved only once written: a failed save leaves it unsaved, so Close asks
// again. This departs on purpose from the older order, which marked the text saved first and
// lost the edits when writing failed.
bool frmViewDB::SaveDatabase() {
    const std::string edited = EditedText();
    const std::string editedBytes = EncodeCp1252(edited);
    try {
        const std::string disk = ReadFileBytes(path_);
        const SaveMerge merge = MergeOnSave(fileBytes_, disk, editedBytes);
        if (merge.askFirst)
            return AskBeforeReplacing(disk);
        WriteFileBytes(path_, editedBytes + merge.appended);
        fileBytes_ = editedBytes + merge.appended;
        if (!merge.appended.empty()) {
            QTextCursor end(txtDB->document());
            end.movePosition(QTextCursor::End);
            end.insertText(
                EditorTextFromFile(QString::fromStdString(DecodeCp1252(merge.appended))));
        }
        SavedText = EditedText();
        return true;
    } catch (const RuntimeFailure& failure) {
        ShowErrorBox(CriticalErrorBox(failure), this);
        return false;
    }
}

bool frmViewDB::AskBeforeReplacing(const std::string& diskBytes) {
    QMessageBox question(QMessageBox::Warning, kAppTitle,
                         "The database file has changed since it was opened.\n"
                         "Overwrite it with this text, or reload it and lose the changes here?",
                         QMessageBox::Save | QMessageBox::Reset | QMessageBox::Cancel, this);
    question.button(QMessageBox::Save)->setText("&Overwrite");
    question.button(QMessageBox::Reset)->setText("&Reload");
    question.setDefaultButton(QMessageBox::Cancel);
    question.setEscapeButton(QMessageBox::Cancel);
    switch (question.exec()) {
    case QMessageBox::Save:
        fileBytes_ = diskBytes; // now a plain save over what is there
        return SaveDatabase();
    case QMessageBox::Reset:
        ShowFile(diskBytes);
        return true;
    default:
        return false;
    }
}

frmViewDB* ShowDatabaseViewer(const std::string& path, QWidget* parent) {
    static QPointer<frmViewDB> viewer;
    std::string contents;
    try {
        contents = ReadFileBytes(path);
    } catch (const RuntimeFailure& failure) {
        ShowErrorBox(CriticalErrorBox(failure), parent);
        return nullptr;
    }
    // No parent: the viewer outlives the main window until the user closes it.
    if (viewer == nullptr) {
        static std::optional<QRect> lastPlace;
        viewer = new frmViewDB(path, contents);
        PlaceSecondaryWindow(viewer, parent, lastPlace);
    }
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

} // namespace valdrex
