#include "dialogs/about_window.h"
#include "dialogs/help_window.h"
#include "dialogs/program_icon.h"

#include "app/home_folder.h"
#include "dialogs/program_files.h"
#include "modal_window.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <fstream>

namespace valdrex {
namespace {

using testing::Child;
using testing::WhenModalOpens;

void WriteFile(const std::string& path, const std::string& contents) {
    std::ofstream file(path, std::ios::binary);
    file << contents;
}

ModuleState StateWithTexts() {
    ModuleState state;
    state.VersionText = "Version 1.30 for Win-32 systems";
    state.CommentText = "Comments\r\n\r\nRealized by \r\nNotice";
    return state;
}

// The readme beside the test program for as long as the object lives.
class ReadmeBesideProgram {
  public:
    explicit ReadmeBesideProgram(const std::string& contents)
        : path_(ReadmeFilePath(ProgramFolder())) {
        WriteFile(path_, contents);
    }
    ~ReadmeBesideProgram() { std::remove(path_.c_str()); }

  private:
    std::string path_;
};

QString ReadmeShownByAbout() {
    QString shown;
    WhenModalOpens([&](QWidget* window) {
        shown = Child<QPlainTextEdit>(window, "txtInfo")->toPlainText();
        QTest::mouseClick(Child<QPushButton>(window, "Command1"), Qt::LeftButton);
    });
    ShowAbout(StateWithTexts(), nullptr);
    return shown;
}

TEST(ProgramIcon, HasEverySizeFromTheResources) {
    const QIcon icon = ProgramIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 32, 48, 64, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
}

TEST(AboutWindow, ShowsTitleVersionCreditsAndTheReadmeLines) {
    ReadmeBesideProgram readme("a\r\nb\rc\n");
    const ModuleState state = StateWithTexts();
    WhenModalOpens([&](QWidget* window) {
        EXPECT_EQ(window->objectName(), "frmInfo");
        EXPECT_EQ(window->windowTitle(), "About Valdrex");
        EXPECT_FALSE(window->windowIcon().isNull());
        EXPECT_FALSE(Child<QLabel>(window, "imgLogo")->pixmap().isNull());
        EXPECT_EQ(Child<QLabel>(window, "Label3")->text(), "Valdrex");
        EXPECT_TRUE(Child<QLabel>(window, "Label3")->font().italic());
        EXPECT_EQ(Child<QLabel>(window, "Label4")->text(), "Version 1.30 for Win-32 systems");
        EXPECT_EQ(Child<QLabel>(window, "Label2")->text(), "Comments\n\nRealized by \nNotice");
        auto* info = Child<QPlainTextEdit>(window, "txtInfo");
        EXPECT_TRUE(info->isReadOnly());
        EXPECT_EQ(info->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        EXPECT_EQ(info->toPlainText(), "a\nb\nc");
        EXPECT_EQ(Child<QPushButton>(window, "Command1")->text(), "&OK");

        // The rule: black across the window at 320 pixels, from its left edge.
        const QImage image = window->grab().toImage();
        EXPECT_EQ(image.pixelColor(0, 320), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(470, 320), QColor(Qt::black));
        QTest::mouseClick(Child<QPushButton>(window, "Command1"), Qt::LeftButton);
        EXPECT_FALSE(window->isVisible());
    });
    ShowAbout(state, nullptr);
}

TEST(AboutWindow, MissingOrEmptyReadmeShowsAnEmptyBox) {
    EXPECT_EQ(ReadmeShownByAbout(), "");
    ReadmeBesideProgram empty("");
    EXPECT_EQ(ReadmeShownByAbout(), "");
}

TEST(Help, MissingFileGivesTheHelpErrorBox) {
    const std::optional<ErrorBox> box = ShowHelpFile("/nonexistent-folder/Valdrex.hlp", nullptr);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, "2. No such file or directory");
    EXPECT_EQ(box->icon, BoxIcon::Critical);
    EXPECT_EQ(box->title, "Valdrex");
    // The test program's folder holds no help file either.
    EXPECT_EQ(ShowHelp(nullptr), box);
}

TEST(Help, OpensOneWindowAtTheContentsPage) {
    QTemporaryDir folder;
    const std::string path = HelpFilePath(folder.path().toStdString());
    WriteFile(path, "<html><body><h1 id=\"contents\">Contents</h1><p>Typing</p></body></html>");

    EXPECT_EQ(ShowHelpFile(path, nullptr), std::nullopt);
    EXPECT_EQ(ShowHelpFile(path, nullptr), std::nullopt);
    QList<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == "frmHelp" && widget->isVisible())
            windows.append(widget);
    ASSERT_EQ(windows.size(), 1);
    EXPECT_FALSE(QApplication::activeModalWidget()) << "the help window is not modal";
    auto* browser = Child<QTextBrowser>(windows.front(), "txtHelp");
    EXPECT_TRUE(browser->toPlainText().startsWith("Contents"));
    EXPECT_EQ(browser->source().fragment(), "contents");
    windows.front()->close();
}

} // namespace
} // namespace valdrex
