#include "database/view_db_window.h"
#include "database/viewer_text.h"
#include "modal_answer.h"

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace valdrex {
namespace {

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string AllBytesWithLineEnds() {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes + "\r\n" + bytes;
}

TEST(ViewerText, UneditedTextGoesBackUnchangedThroughTheEditor) {
    const std::string fileTexts[] = {
        "",
        "one line without end",
        "record\r\nnote\r\n",
        "a\r\n\r\n\r\nb",
        "lone\nline feed, lone\rreturn, \r\r\n\n\r",
        "non-breaking\xC2\xA0space, \xE2\x82\xAC and \xC2\x81",
    };
    QPlainTextEdit editor;
    for (const std::string& fileText : fileTexts) {
        editor.setPlainText(EditorTextFromFile(QString::fromStdString(fileText)));
        EXPECT_EQ(FileTextFromEditor(editor.document()->toRawText()).toStdString(), fileText)
            << fileText;
    }
}

TEST(ViewerText, ShowsCrLfAsLineBreaks) {
    QPlainTextEdit editor;
    editor.setPlainText(EditorTextFromFile("x^2 = 0; S={ 0}\r\ncheck\r\nlast"));
    EXPECT_EQ(editor.document()->blockCount(), 3);
    EXPECT_EQ(editor.toPlainText(), "x^2 = 0; S={ 0}\ncheck\nlast");
}

class Viewer : public ::testing::Test {
  protected:
    // Closed viewers are deleted later; a viewer still open is dropped without its question.
    void TearDown() override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete viewer_.data();
    }

    std::string PathOf(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }

    frmViewDB* Open(const std::string& path) {
        const MessageBoxAnswer unexpected(QMessageBox::Ok);
        frmViewDB* viewer = ShowDatabaseViewer(path, nullptr);
        EXPECT_FALSE(unexpected.shown()) << unexpected.text().toStdString();
        viewer_ = viewer;
        return viewer;
    }

    QPlainTextEdit* Editor() const { return viewer_->findChild<QPlainTextEdit*>("txtDB"); }

    void Type(const QString& keys) {
        Editor()->moveCursor(QTextCursor::End);
        QTest::keyClicks(Editor(), keys);
    }

    void Trigger(const char* item) { viewer_->findChild<QAction*>(item)->trigger(); }

    bool IsOpen() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return viewer_ != nullptr && viewer_->isVisible();
    }

    QTemporaryDir dir_;
    QPointer<frmViewDB> viewer_;
};

TEST_F(Viewer, OpeningAMissingFileCreatesItEmpty) {
    const std::string path = PathOf("Valdrexdb.txt");
    ASSERT_NE(Open(path), nullptr);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(Bytes(path), "");
    EXPECT_EQ(Editor()->toPlainText(), "");
    EXPECT_EQ(viewer_->windowTitle().toStdString(), path);
    EXPECT_TRUE(IsOpen());
}

TEST_F(Viewer, UneditedFileIsSavedByteForByteAndClosesWithoutQuestion) {
    const std::string files[] = {"2\xB7x - 4 = 0; S={ 2}\r\nlast line without end",
                                 "ends with a line end\r\n", "bare\nline feed", ""};
    for (const std::string& bytes :
         {files[0], files[1], files[2], files[3], AllBytesWithLineEnds()}) {
        const std::string path = PathOf("db.txt");
        Put(path, bytes);
        ASSERT_NE(Open(path), nullptr);
        {
            const MessageBoxAnswer failure(QMessageBox::Ok);
            Trigger("mnuVUpdate");
            EXPECT_FALSE(failure.shown()) << failure.text().toStdString();
        }
        EXPECT_EQ(Bytes(path), bytes);
        const MessageBoxAnswer question(QMessageBox::Cancel);
        Trigger("mnuVClose");
        EXPECT_FALSE(question.shown());
        EXPECT_FALSE(IsOpen());
    }
}

TEST_F(Viewer, CancelKeepsTheWindowAndSaveMakesClosingQuiet) {
    const std::string path = PathOf("db.txt");
    Put(path, "old");
    ASSERT_NE(Open(path), nullptr);
    Type(" and new");
    {
        const MessageBoxAnswer question(QMessageBox::Cancel);
        Trigger("mnuVClose");
        ASSERT_TRUE(question.shown());
        EXPECT_EQ(question.text(), "Do you wish to save changes?");
        EXPECT_EQ(question.title(), "Valdrex");
        EXPECT_EQ(question.icon(), QMessageBox::NoIcon);
    }
    ASSERT_TRUE(IsOpen());
    EXPECT_EQ(Editor()->toPlainText(), "old and new");
    EXPECT_EQ(Bytes(path), "old");

    Trigger("mnuVUpdate");
    EXPECT_EQ(Bytes(path), "old and new");
    const MessageBoxAnswer question(QMessageBox::Cancel);
    viewer_->close(); // the window's own close box asks the same way
    EXPECT_FALSE(question.shown());
    EXPECT_FALSE(IsOpen());
}

TEST_F(Viewer, NoDiscardsTheChanges) {
    const std::string path = PathOf("db.txt");
    Put(path, "old\r\n");
    ASSERT_NE(Open(path), nullptr);
    Type("lost");
    {
        const MessageBoxAnswer question(QMessageBox::No);
        Trigger("mnuVClose");
        EXPECT_TRUE(question.shown());
    }
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(Bytes(path), "old\r\n");
    ASSERT_NE(Open(path), nullptr);
    EXPECT_EQ(Editor()->toPlainText(), "old\n");
}

TEST_F(Viewer, YesWritesExactlyTheEditedText) {
    const std::string path = PathOf("db.txt");
    Put(path, "old");
    ASSERT_NE(Open(path), nullptr);
    Editor()->moveCursor(QTextCursor::End);
    QTest::keyClick(Editor(), Qt::Key_Return);
    QTest::keyClicks(Editor(), "caf");
    Editor()->insertPlainText(
        QString::fromUtf8("\xC3\xA9 \xE2\x86\x92")); // typed as text: e-acute, arrow
    {
        const MessageBoxAnswer question(QMessageBox::Yes);
        Trigger("mnuVClose");
        EXPECT_TRUE(question.shown());
    }
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(Bytes(path), "old\r\ncaf\xE9 ?");
}

TEST_F(Viewer, OpeningTwiceShowsOneWindowWithTheFirstText) {
    const std::string path = PathOf("db.txt");
    Put(path, "first");
    frmViewDB* first = Open(path);
    ASSERT_NE(first, nullptr);
    Put(path, "second");
    EXPECT_EQ(Open(path), first);
    EXPECT_EQ(Editor()->toPlainText(), "first");
    int viewers = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        viewers += qobject_cast<frmViewDB*>(window) != nullptr && window->isVisible();
    EXPECT_EQ(viewers, 1);
}

TEST_F(Viewer, FailedOpeningShowsTheErrorAndNoViewer) {
    const MessageBoxAnswer error(QMessageBox::Ok);
    EXPECT_EQ(ShowDatabaseViewer(PathOf("missing/db.txt"), nullptr), nullptr);
    ASSERT_TRUE(error.shown());
    EXPECT_EQ(error.text(), "Error 2. No such file or directory");
    EXPECT_EQ(error.icon(), QMessageBox::Critical);
    EXPECT_EQ(error.title(), "Valdrex");
}

TEST_F(Viewer, FailedSaveShowsTheErrorKeepsTheTextAndCountsAsSaved) {
    const std::filesystem::path folder = PathOf("folder");
    std::filesystem::create_directory(folder);
    const std::string path = (folder / "db.txt").string();
    Put(path, "old");
    ASSERT_NE(Open(path), nullptr);
    Type(" edited");
    std::filesystem::remove_all(folder);
    {
        const MessageBoxAnswer error(QMessageBox::Ok);
        Trigger("mnuVUpdate");
        ASSERT_TRUE(error.shown());
        EXPECT_EQ(error.text(), "Error 2. No such file or directory");
        EXPECT_EQ(error.icon(), QMessageBox::Critical);
    }
    EXPECT_EQ(Editor()->toPlainText(), "old edited");
    const MessageBoxAnswer question(QMessageBox::Cancel);
    Trigger("mnuVClose");
    EXPECT_FALSE(question.shown());
    EXPECT_FALSE(IsOpen());
}

TEST_F(Viewer, FailedSaveInAReadOnlyFolderKeepsThePreviousBytes) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    const std::filesystem::path folder = PathOf("locked");
    std::filesystem::create_directory(folder);
    const std::string path = (folder / "db.txt").string();
    Put(path, "old\r\n");
    ASSERT_NE(Open(path), nullptr);
    Type("edited");
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_exec);
    {
        const MessageBoxAnswer error(QMessageBox::Ok);
        Trigger("mnuVUpdate");
        EXPECT_EQ(error.text(), "Error 13. Permission denied");
    }
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    EXPECT_EQ(Bytes(path), "old\r\n");
}

} // namespace
} // namespace valdrex
