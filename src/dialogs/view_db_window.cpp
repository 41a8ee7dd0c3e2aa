#include "dialogs/view_db_window.h"

#include "core/failure.h"
#include "database/cp1252.h"
#include "database/database_file.h"
#include "database/locked_file.h"
#include "dialogs/database_text_view.h"
#include "dialogs/dialog_parts.h"
#include "dialogs/find_bar.h"
#include "dialogs/message_box.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/file.h>
#include <sys/stat.h>

namespace valdrex {
namespace {

constexpr int kInitialWidth = 640;
constexpr int kInitialHeight = 420;
// A file this large is read in the background; a smaller one takes milliseconds.
constexpr off_t kBackgroundReadBytes = 1 << 20;
constexpr int kProgressMs = 100;
constexpr int kProgressSteps = 1000; // tenths of a percent

QMessageBox::StandardButton AskToSave(QWidget* parent) {
    QMessageBox question(QMessageBox::NoIcon, kAppTitle, "Do you wish to save changes?",
                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    question.setDefaultButton(QMessageBox::Yes);
    question.setEscapeButton(QMessageBox::Cancel);
    return static_cast<QMessageBox::StandardButton>(question.exec());
}

// Opens the file for reading, a missing one created empty as the database creates its files.
// Its length is taken under the writers' lock and the reading stops there: a record another
// writer is appending is never read half, for a later save to split.
std::unique_ptr<LockedFile> OpenForReading(const std::string& path) {
    auto file = std::make_unique<LockedFile>(path, O_RDONLY | O_CREAT, LOCK_SH);
    file->Unlock();
    return file;
}

// Reads the file and closes it, whatever happens; a lack of memory is a failure like another.
DatabaseText ReadAndClose(std::unique_ptr<LockedFile> file, std::atomic<std::uint64_t>& progress,
                          const std::atomic<bool>& stop) {
    try {
        return DatabaseText::Read(file->fd(), file->status(), progress, stop);
    } catch (const std::bad_alloc&) {
        throw FileFailure(ENOMEM);
    }
}

} // namespace

// A file being read on a thread of its own.
struct frmViewDB::Reading {
    std::atomic<std::uint64_t> progress{0};
    std::atomic<bool> stop{false};
    std::uint64_t size = 0;
    bool firstRead = true; // no text to fall back on when it fails
    std::optional<DatabaseText> text;
    std::optional<RuntimeFailure> failure;
    std::unique_ptr<LockedFile> file; // for the thread to read and close
    std::unique_ptr<QThread> thread;
};

frmViewDB::frmViewDB(const std::string& path)
    : path_(path), txtDB(new DatabaseTextView), find_(new FindBar(txtDB, this)),
      readProgress_(new QProgressBar), progressTimer_(new QTimer(this)) {
    setObjectName("frmViewDB");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromStdString(path));
    resize(kInitialWidth, kInitialHeight);

    mnuVFile = menuBar()->addMenu("&File");
    mnuVFile->setObjectName("mnuVFile");
    // A double click selects a word, as in any editor; loading a record is a command.
    mnuVLoad = mnuVFile->addAction("&Load into the grid", this, [this] {
        emit LoadLine(QString::fromStdString(LineAtCursor()));
    });
    mnuVLoad->setObjectName("mnuVLoad");
    mnuVLoad->setShortcut(Qt::CTRL | Qt::Key_L);
    mnuVFile->addSeparator();
    mnuVUpdate = mnuVFile->addAction("&Save", this, &frmViewDB::mnuVUpdate_Click);
    mnuVUpdate->setObjectName("mnuVUpdate");
    mnuVClose = mnuVFile->addAction("&Close", this, &frmViewDB::mnuVClose_Click);
    mnuVClose->setObjectName("mnuVClose");
    mnuVSearch = menuBar()->addMenu("&Search");
    mnuVSearch->setObjectName("mnuVSearch");
    QAction* find = mnuVSearch->addAction("&Find...", find_, &FindBar::Open);
    find->setObjectName("mnuVFind");
    find->setShortcuts(QKeySequence::Find);
    QAction* next = mnuVSearch->addAction("Find &Next", this, [this] { find_->Find(false); });
    next->setObjectName("mnuVFindNext");
    next->setShortcuts(QKeySequence::FindNext);
    QAction* previous =
        mnuVSearch->addAction("Find &Previous", this, [this] { find_->Find(true); });
    previous->setObjectName("mnuVFindPrevious");
    previous->setShortcuts(QKeySequence::FindPrevious);

    // Both scroll bars: lines are never wrapped. The text fills the window, with the find bar
    // below it while that is open.
    txtDB->setObjectName("txtDB");
    auto* area = new QWidget(this);
    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(txtDB, 1);
    column->addWidget(find_);
    setCentralWidget(area);
    txtDB->setFocus();

    readProgress_->setObjectName("prgRead");
    readProgress_->setFormat("Reading the file: %p%");
    readProgress_->setRange(0, kProgressSteps);
    statusBar()->addWidget(readProgress_, 1);
    statusBar()->hide();
    connect(progressTimer_, &QTimer::timeout, this, &frmViewDB::ShowReadingProgress);
}

frmViewDB::~frmViewDB() {
    if (reading_) {
        reading_->stop = true;
        reading_->thread->wait();
    }
}

void frmViewDB::Read() {
    std::unique_ptr<LockedFile> file = OpenForReading(path_);
    const struct stat& st = file->status();
    if (!S_ISREG(st.st_mode) || st.st_size < kBackgroundReadBytes) {
        std::atomic<std::uint64_t> progress{0};
        const std::atomic<bool> stop{false};
        txtDB->setText(ReadAndClose(std::move(file), progress, stop));
        return;
    }
    reading_ = std::make_unique<Reading>();
    reading_->size = static_cast<std::uint64_t>(st.st_size);
    reading_->firstRead = !isVisible();
    reading_->file = std::move(file);
    Reading* reading = reading_.get();
    reading_->thread.reset(QThread::create([reading] {
        try {
            reading->text =
                ReadAndClose(std::move(reading->file), reading->progress, reading->stop);
        } catch (const RuntimeFailure& failure) {
            reading->failure = failure;
        }
    }));
    connect(reading_->thread.get(), &QThread::finished, this, &frmViewDB::FinishReading);
    SetReading(true);
    ShowReadingProgress();
    statusBar()->show();
    progressTimer_->start(kProgressMs);
    reading_->thread->start();
}

// While the file is read, the text can only be looked at: it is about to be replaced.
void frmViewDB::SetReading(bool reading) {
    txtDB->setReadOnly(reading);
    mnuVUpdate->setEnabled(!reading);
    mnuVLoad->setEnabled(!reading);
    for (QAction* item : mnuVSearch->actions())
        item->setEnabled(!reading);
}

void frmViewDB::ShowReadingProgress() {
    if (reading_)
        readProgress_->setValue(static_cast<int>(kProgressSteps * reading_->progress /
                                                 std::max<std::uint64_t>(1, reading_->size)));
}

void frmViewDB::FinishReading() {
    const std::unique_ptr<Reading> reading = std::move(reading_);
    reading->thread->wait();
    progressTimer_->stop();
    statusBar()->hide();
    SetReading(false);
    if (reading->text)
        txtDB->setText(std::move(*reading->text));
    emit ReadingFinished();
    if (reading->failure) {
        ShowErrorBox(CriticalErrorBox(*reading->failure), this);
        if (reading->firstRead)
            close();
    }
}

std::string frmViewDB::LineAtCursor() const {
    return txtDB->text().lineText(txtDB->cursorPosition().line).toStdString();
}

void frmViewDB::closeEvent(QCloseEvent* event) {
    // While the file is read, the text it replaces holds nothing to save.
    if (!reading_ && txtDB->text().isModified()) {
        switch (AskToSave(this)) {
        case QMessageBox::Yes:
            if (!AcceptUnstorableCharacters(txtDB->text().editedText(), this) || !SaveDatabase()) {
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
    if (AcceptUnstorableCharacters(txtDB->text().editedText(), this))
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
bool frmViewDB::SaveDatabase(std::optional<std::uint64_t> overwriteLength) {
    try {
        SeenFile seen = txtDB->text().saved();
        if (overwriteLength)
            seen = {*overwriteLength, {}};
        ReplaceOutcome outcome = [&] {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            const struct Restore {
                ~Restore() { QApplication::restoreOverrideCursor(); }
            } restore;
            return ReplaceKeepingAppends(path_, seen, txtDB->text().bytes());
        }();
        if (outcome.changedOtherwise)
            return AskBeforeReplacing(outcome.diskLength);
        if (!outcome.appended.empty())
            txtDB->appendFileBytes(std::move(outcome.appended));
        txtDB->markSaved();
        return true;
    } catch (const RuntimeFailure& failure) {
        ShowErrorBox(CriticalErrorBox(failure), this);
        return false;
    }
}

bool frmViewDB::AskBeforeReplacing(std::uint64_t diskLength) {
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
        return SaveDatabase(diskLength); // keeps only what is appended from now on
    case QMessageBox::Reset:
        try {
            Read();
            return true;
        } catch (const RuntimeFailure& failure) {
            ShowErrorBox(CriticalErrorBox(failure), this);
            return false;
        }
    default:
        return false;
    }
}

frmViewDB* ShowDatabaseViewer(const std::string& path, QWidget* parent) {
    static QPointer<frmViewDB> viewer;
    if (viewer == nullptr) {
        // No parent: the viewer outlives the main window until the user closes it.
        auto window = std::make_unique<frmViewDB>(path);
        try {
            window->Read();
        } catch (const RuntimeFailure& failure) {
            ShowErrorBox(CriticalErrorBox(failure), parent);
            return nullptr;
        }
        viewer = window.release();
        static std::optional<QRect> lastPlace;
        PlaceSecondaryWindow(viewer, parent, lastPlace);
    }
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

} // namespace valdrex
