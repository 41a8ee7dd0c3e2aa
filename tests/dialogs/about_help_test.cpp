#include "dialogs/about_window.h"
#include "dialogs/help_window.h"
#include "dialogs/program_icon.h"

#include "app/home_folder.h"
#include "dialogs/program_files.h"
#include "file_bytes.h"
#include "gui_test.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>

namespace valdrex {
namespace {

// Shows the About window with the readme `contents` beside the program (none when null) and
// runs `act` on it.
void ShowAboutWith(const char* readme, const std::function<void(QDialog*)>& act) {
    const std::string path = ReadmeFilePath(ProgramFolder());
    if (readme != nullptr)
        Put(path, readme);
    ModuleState state;
    state.VersionText = "Version 1.30 for Win-32 systems";
    state.CommentText = "Comments\r\n\r\nRealized by \r\nNotice";
    const ModalAnswer answer(QMessageBox::Ok, act);
    ShowAbout(state, nullptr);
    std::remove(path.c_str());
}

TEST(ProgramIcon, HasEverySizeFromTheResources) {
    const QList<QSize> sizes = ProgramIcon().availableSizes();
    for (int size : {16, 32, 48, 64, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
}

TEST(AboutWindow, ShowsTitleVersionCreditsAndTheReadmeLines) {
    ShowAboutWith("a\r\nb\rc\n", [](QDialog* window) {
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
        // The rule: black across the window at 320 pixels, from its left edge.
        const QImage image = window->grab().toImage();
        EXPECT_EQ(image.pixelColor(0, 320), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(470, 320), QColor(Qt::black));
        auto* ok = Child<QPushButton>(window, "Command1");
        EXPECT_EQ(ok->text(), "&OK");
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_FALSE(window->isVisible());
    });
}

TEST(AboutWindow, MissingOrEmptyReadmeShowsAnEmptyBox) {
    for (const char* readme : {static_cast<const char*>(nullptr), ""})
        ShowAboutWith(readme, [](QDialog* window) {
            EXPECT_EQ(Child<QPlainTextEdit>(window, "txtInfo")->toPlainText(), "");
        });
}

TEST(Help, MissingFileGivesTheHelpErrorBox) {
    const ErrorBox box{"2. No such file or directory", BoxIcon::Critical, "Valdrex"};
    EXPECT_EQ(ShowHelpFile("/nonexistent-folder/Valdrex.hlp", nullptr), box);
    EXPECT_EQ(ShowHelp(nullptr), box); // the test program's folder holds no help file either
}

TEST(Help, OpensOneWindowAtTheContentsPage) {
    QTemporaryDir folder;
    const std::string path = HelpFilePath(folder.path().toStdString());
    Put(path, "<html><body><h1 id=\"contents\">Contents</h1><p>Typing</p></body></html>");
    EXPECT_EQ(ShowHelpFile(path, nullptr), std::nullopt);
    EXPECT_EQ(ShowHelpFile(path, nullptr), std::nullopt);
    QList<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == "frmHelp" && widget->isVisible())
            windows.append(widget);
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the help window is not modal";
    auto* browser = Child<QTextBrowser>(windows.front(), "txtHelp");
    EXPECT_TRUE(browser->toPlainText().startsWith("Contents"));
    EXPECT_EQ(browser->source().fragment(), "contents");
    windows.front()->close();
}

} // namespace
} // namespace valdrex
