#include "database/database_file.h"
#include "dialogs/database_text_view.h"
#include "dialogs/find_bar.h"
#include "dialogs/view_db_window.h"
#include "file_bytes.h"
#include "gui_test.h"
#include "window_texts.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace valdrex {
namespace {

const SeenBox kNotFound{"Error 2. No such file or directory", "Valdrex", QMessageBox::Critical};
const SeenBox kSaveQuestion{"Do you wish to save changes?", "Valdrex", QMessageBox::NoIcon,
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel};

class Viewer : public ::testing::Test {
  protected:
    // Closed viewers are deleted later; one still open is dropped without its question.
    void TearDown() override {
        IsOpen();
        delete viewer_.data();
    }

    // Opens the viewer on `path` and waits until the file is read, returning the boxes shown.
    Boxes Open(const std::string& path) {
        return BoxesShownBy(QMessageBox::Ok, [&] {
            viewer_ = ShowDatabaseViewer(path, nullptr);
            if (viewer_ && viewer_->IsReading()) {
                EXPECT_TRUE(QSignalSpy(viewer_, &frmViewDB::ReadingFinished).wait(10000));
            }
        });
    }
    // Writes the file and opens the viewer on it.
    void OpenOn(const std::string& bytes) {
        Put(db_, bytes);
        Open(db_);
    }
    DatabaseTextView* Editor() const { return Child<DatabaseTextView>(viewer_, "txtDB"); }
    void PressCtrl(Qt::Key key) { QTest::keyClick(Editor(), key, Qt::ControlModifier); }
    Boxes Trigger(const char* item, QMessageBox::StandardButton answer = QMessageBox::Ok) {
        return BoxesShownBy(answer, [&] { Child<QAction>(viewer_, item)->trigger(); });
    }
    bool IsOpen() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return viewer_ != nullptr && viewer_->isVisible();
    }

    QTemporaryDir dir_;
    const std::string db_ = dir_.filePath("db.txt").toStdString();
    QPointer<frmViewDB> viewer_;
};

// A missing file is created empty; a missing folder shows the error and no window.
TEST_F(Viewer, AMissingOrUneditedFileIsSavedByteForByteAndClosesWithoutQuestion) {
    EXPECT_EQ(Open(db_), Boxes{});
    EXPECT_EQ(Bytes(db_) + Editor()->toPlainText().toStdString(), "");
    EXPECT_TRUE(std::filesystem::exists(db_));
    viewer_->close();
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(Open(dir_.filePath("missing/db.txt").toStdString()), Boxes{kNotFound});
    EXPECT_EQ(viewer_, nullptr);
    std::string allBytes;
    for (int b = 0; b < 256; ++b)
        allBytes += static_cast<char>(b);
    for (const std::string& bytes : std::vector<std::string>{
             "2\xB7x = 0; S={ 0}\r\nlast line without end", "end\r\n", "a\r\n\r\n\r\nb",
             "lone\nline feed, lone\rreturn, \r\r\n\n\r", "", allBytes + "\r\n" + allBytes}) {
        Put(db_, bytes);
        EXPECT_EQ(Open(db_), Boxes{});
        EXPECT_EQ(Trigger("mnuVUpdate"), Boxes{});
        EXPECT_EQ(Bytes(db_), bytes);
        EXPECT_EQ(Trigger("mnuVClose", QMessageBox::Cancel), Boxes{});
        EXPECT_FALSE(IsOpen());
    }
    OpenOn("2\xB7x = 0; S={ 0}\r\nlast");
    EXPECT_EQ(Editor()->text().lineCount(), 2);
    EXPECT_EQ(Editor()->toPlainText(), "2\xC2\xB7x = 0; S={ 0}\nlast");
    // A second opening shows the same window with its first text.
    frmViewDB* first = viewer_;
    OpenOn("second");
    EXPECT_EQ(viewer_, first);
    EXPECT_EQ(Editor()->toPlainText(), "2\xC2\xB7x = 0; S={ 0}\nlast");
    // Its captions, names and keys; the title is the path (here one in the tests' home).
    viewer_->close();
    EXPECT_FALSE(IsOpen());
    Open(qEnvironmentVariable("HOME").toStdString() + "/db.txt");
    Trigger("mnuVFind");
    ExpectShownTexts(viewer_, WINDOW_TEXTS_DIR "/frmViewDB.txt", true);
}

TEST_F(Viewer, ClosingWithChangesAsksWhetherToSave) {
    const std::tuple<QMessageBox::StandardButton, bool, std::string> cases[] = {
        {QMessageBox::No, false, "old"},
        {QMessageBox::Yes, false, "old\r\ncaf\xE9 ?"},
        {QMessageBox::Cancel, true, "old"}};
    for (const auto& [answer, open, bytes] : cases) {
        OpenOn("old");
        PressCtrl(Qt::Key_End);
        QTest::keyClick(Editor(), Qt::Key_Return);
        QTest::keyClicks(Editor(), "caf");
        Editor()->insertPlainText("\xC3\xA9 ?"); // e-acute, as text
        EXPECT_EQ(Trigger("mnuVClose", answer), Boxes{kSaveQuestion});
        EXPECT_EQ(IsOpen(), open);
        EXPECT_EQ(Bytes(db_), bytes);
    }
    EXPECT_EQ(Trigger("mnuVUpdate"), Boxes{});
    EXPECT_EQ(Bytes(db_), "old\r\ncaf\xE9 ?");
    // Saved, even the window's own close box closes without asking.
    EXPECT_EQ(BoxesShownBy(QMessageBox::Cancel, [&] { viewer_->close(); }), Boxes{});
    EXPECT_FALSE(IsOpen());
}

TEST_F(Viewer, CharactersTheCodePageLacksAreNamedBeforeTheSave) {
    const SeenBox codePage{"The file's code page (Windows-1252) cannot store these characters: "
                           "\u03C0 \u221A\nThey will be written as \"?\".",
                           "Valdrex", QMessageBox::Warning,
                           QMessageBox::Save | QMessageBox::Cancel};
    OpenOn("old");
    PressCtrl(Qt::Key_A);
    Editor()->insertPlainText("\u00E9 \u03C0 \u221A \u20AC \u03C0?");
    EXPECT_EQ(Trigger("mnuVUpdate", QMessageBox::Cancel), Boxes{codePage});
    EXPECT_EQ(Bytes(db_), "old");
    // Yes to saving on close, then no to the code page: the window stays open.
    EXPECT_EQ(Trigger("mnuVClose", QMessageBox::Yes), (Boxes{kSaveQuestion, codePage}));
    EXPECT_TRUE(IsOpen());
    EXPECT_EQ(Bytes(db_), "old");
    EXPECT_EQ(Trigger("mnuVUpdate", QMessageBox::Save), Boxes{codePage});
    EXPECT_EQ(Bytes(db_), "\xE9 ? ? \x80 ??");
    EXPECT_EQ(Trigger("mnuVClose"), Boxes{});
    EXPECT_FALSE(IsOpen());
}

TEST_F(Viewer, AFailedSaveKeepsTheTextUnsavedSoCloseAsksAgain) {
    const std::string folder = dir_.filePath("folder").toStdString();
    std::filesystem::create_directory(folder);
    Put(folder + "/db.txt", "old");
    Open(folder + "/db.txt");
    PressCtrl(Qt::Key_End);
    QTest::keyClicks(Editor(), " edited");
    std::filesystem::remove_all(folder);
    EXPECT_EQ(Trigger("mnuVUpdate"), Boxes{kNotFound});
    EXPECT_EQ(Editor()->toPlainText(), "old edited");
    // Yes fails again and keeps the window; No closes it.
    EXPECT_EQ(Trigger("mnuVClose", QMessageBox::Yes), (Boxes{kSaveQuestion, kNotFound}));
    EXPECT_TRUE(IsOpen());
    EXPECT_EQ(Trigger("mnuVClose", QMessageBox::No), Boxes{kSaveQuestion});
    EXPECT_FALSE(IsOpen());
}

TEST_F(Viewer, SaveKeepsRecordsAppendedMeanwhileAndAsksWhenTheFileChangedOtherwise) {
    OpenOn("one\r\n");
    QTest::keyClicks(Editor(), "edited ");
    AppendLine(db_, "two", false); // the main window saves while the viewer is open
    AppendLine(db_, "three", false);
    EXPECT_EQ(Trigger("mnuVUpdate"), Boxes{});
    EXPECT_EQ(Bytes(db_), "edited one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(Editor()->toPlainText(), "edited one\ntwo\nthree\n");
    EXPECT_EQ(Trigger("mnuVClose", QMessageBox::Cancel), Boxes{});
    EXPECT_FALSE(IsOpen());

    const SeenBox changed{"The database file has changed since it was opened.\nOverwrite it with "
                          "this text, or reload it and lose the changes here?",
                          "Valdrex", QMessageBox::Warning,
                          QMessageBox::Save | QMessageBox::Reset | QMessageBox::Cancel};
    const std::tuple<QMessageBox::StandardButton, std::string, std::string> cases[] = {
        {QMessageBox::Cancel, "other\r\n", "mine\none\n"},
        {QMessageBox::Reset, "other\r\n", "other\n"},
        {QMessageBox::Save, "mine\r\none\r\n", "mine\none\n"}};
    for (const auto& [answer, bytes, shown] : cases) {
        OpenOn("one\r\n");
        QTest::keyClicks(Editor(), "mine");
        QTest::keyClick(Editor(), Qt::Key_Return);
        Put(db_, "other\r\n");
        EXPECT_EQ(Trigger("mnuVUpdate", answer), Boxes{changed});
        EXPECT_EQ(Bytes(db_), bytes);
        EXPECT_EQ(Editor()->toPlainText().toStdString(), shown);
        // Only a cancelled save leaves the text unsaved.
        EXPECT_EQ(Trigger("mnuVClose", QMessageBox::No).size(), answer == QMessageBox::Cancel);
        EXPECT_FALSE(IsOpen());
    }
}

// A viewer opened while another writer is half way through a record waits for it, and never
// shows the half it would find (which a save would then split from the rest).
TEST_F(Viewer, ARecordHalfWrittenByAnotherWriterIsReadWhole) {
    Put(db_, "one\r\n");
    LockedFile writer(db_, O_WRONLY | O_APPEND, LOCK_EX);
    ASSERT_EQ(::write(writer.fd(), "tw", 2), 2);
    std::thread finish([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_EQ(::write(writer.fd(), "o\r\n", 3), 3);
        writer.Unlock();
    });
    Open(db_);
    finish.join();
    EXPECT_EQ(Editor()->toPlainText(), "one\ntwo\n");
}

// A file of a few MB is read in the background; the window then shows its end, finds text
// near it, and saves exactly the edited bytes with the records appended meanwhile.
TEST_F(Viewer, ALargeFileIsReadInTheBackgroundBrowsedSearchedEditedAndSaved) {
    std::string bytes; // beyond one read of the file, 4 MiB
    for (int i = 0; i < 150000; ++i)
        bytes += std::to_string(i) + "\xB7x^2 - 1 = 0; S={ 1;-1}\r\n";
    bytes += "last record";
    Put(db_, bytes);
    viewer_ = ShowDatabaseViewer(db_, nullptr);
    ASSERT_TRUE(viewer_->IsReading());
    EXPECT_TRUE(Child<QProgressBar>(viewer_, "prgRead")->isVisible());
    ASSERT_TRUE(QSignalSpy(viewer_, &frmViewDB::ReadingFinished).wait(10000));
    EXPECT_FALSE(Child<QProgressBar>(viewer_, "prgRead")->isVisible());
    PressCtrl(Qt::Key_End);
    EXPECT_EQ(viewer_->LineAtCursor(), "last record");
    const QScrollBar* lines = Editor()->verticalScrollBar();
    EXPECT_EQ(lines->value(), lines->maximum());
    EXPECT_GT(lines->maximum(), 99900);
    // A page down keeps the line that was last in sight, now first, with the cursor on it.
    PressCtrl(Qt::Key_Home);
    QTest::keyClick(Editor(), Qt::Key_PageDown);
    const int page = lines->pageStep() - 1;
    EXPECT_GT(page, 5);
    EXPECT_EQ(lines->value(), page);
    EXPECT_EQ(Editor()->cursorPosition(), (TextPosition{page, 0}));
    QTest::keyClick(Editor(), Qt::Key_PageUp);
    EXPECT_EQ(lines->value(), 0);
    EXPECT_EQ(Editor()->cursorPosition(), (TextPosition{0, 0}));

    auto* find = Child<FindBar>(viewer_, "fraFind");
    const auto* close = Child<QToolButton>(find, "cmdFindClose");
    EXPECT_TRUE(close->toolTip() == "Close" &&
                !close->icon().isNull()); // no text: an icon shows it
    const auto search = [&](const char* text, Qt::KeyboardModifiers modifiers) {
        Child<QLineEdit>(viewer_, "txtFind")->setText(text);
        QTest::keyClick(Child<QLineEdit>(viewer_, "txtFind"), Qt::Key_Return, modifiers);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !find->IsSearching(); }, 10000));
        return Child<QLabel>(viewer_, "lblFound")->text();
    };
    PressCtrl(Qt::Key_Home);
    PressCtrl(Qt::Key_F);
    EXPECT_TRUE(find->isVisible());
    EXPECT_EQ(search("99990\u00B7X", Qt::NoModifier), "");
    EXPECT_EQ(Editor()->selectedText(), "99990\u00B7x");
    EXPECT_EQ(viewer_->LineAtCursor(), "99990\u00B7x^2 - 1 = 0; S={ 1;-1}");
    EXPECT_EQ(search("99990\u00B7X", Qt::ShiftModifier), "Wrapped around");
    EXPECT_EQ(Editor()->cursorPosition(), (TextPosition{99990, 7}));
    EXPECT_EQ(search("no such text", Qt::NoModifier), "Not found");

    // An edit within the file and one at its end.
    PressCtrl(Qt::Key_Home);
    QTest::keyClick(Editor(), Qt::Key_Down);
    QTest::keyClick(Editor(), Qt::Key_Delete);
    PressCtrl(Qt::Key_End);
    QTest::keyClicks(Editor(), " edited");
    AppendLine(db_, "appended", false);
    EXPECT_EQ(Trigger("mnuVUpdate"), Boxes{});
    bytes.erase(bytes.find("\r\n") + 2, 1);
    EXPECT_EQ(Bytes(db_), bytes + " edited\r\nappended\r\n");
    EXPECT_EQ(Trigger("mnuVClose", QMessageBox::Cancel), Boxes{});
    EXPECT_FALSE(IsOpen());
}

} // namespace
} // namespace valdrex
