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

TEST(ProgramIcon, HasEverySizeFromTheResources) {
    for (int size : {16, 32, 48, 64, 128, 256})
        EXPECT_TRUE(ProgramIcon().availableSizes().contains(QSize(size, size))) << size;
}

TEST(AboutWindow, ShowsTitleVersionCreditsAndTheReadmeLines) {
    ModuleState state;
    state.VersionText = "Version 1.30 for Win-32 systems";
    state.CommentText = "Comments\r\n\r\nRealized by \r\nNotice";
    const std::string readme = ReadmeFilePath(ProgramFolder());
    for (const auto& [contents, shown] :
         {std::pair{"a\r\nb\rc\n", "a\nb\nc"}, {"", ""}, {nullptr, ""}}) {
        if (contents != nullptr)
            Put(readme, contents);
        const ModalAnswer answer(QMessageBox::Ok, [&](QDialog* window) {
            const auto label = [&](const char* name) { return Child<QLabel>(window, name); };
            EXPECT_EQ(window->objectName() + "|" + window->windowTitle(), "frmInfo|About Valdrex");
            EXPECT_FALSE(window->windowIcon().isNull() || label("imgLogo")->pixmap().isNull());
            EXPECT_EQ(label("Label3")->text() + "|" + label("Label4")->text() + "|" +
                          label("Label2")->text(),
                      "Valdrex|Version 1.30 for Win-32 systems|Comments\n\nRealized by \nNotice");
            EXPECT_TRUE(label("Label3")->font().italic());
            auto* info = Child<QPlainTextEdit>(window, "txtInfo");
            EXPECT_TRUE(info->isReadOnly());
            EXPECT_EQ(info->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
            EXPECT_EQ(info->toPlainText(), shown);
            // The rule: black across the window at 320 pixels, from its left edge.
            const QImage image = window->grab().toImage();
            EXPECT_EQ(image.pixelColor(0, 320), QColor(Qt::black));
            EXPECT_EQ(image.pixelColor(470, 320), QColor(Qt::black));
            auto* ok = Child<QPushButton>(window, "Command1");
            EXPECT_EQ(ok->text(), "&OK");
            QTest::mouseClick(ok, Qt::LeftButton);
            EXPECT_FALSE(window->isVisible());
        });
        ShowAbout(state, nullptr);
        std::remove(readme.c_str());
    }
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
    QWidget* window = ShownWindow("frmHelp");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ShowHelpFile(path, nullptr), std::nullopt);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the help window is not modal";
    auto* browser = Child<QTextBrowser>(window, "txtHelp");
    EXPECT_TRUE(browser->toPlainText().startsWith("Contents"));
    EXPECT_EQ(browser->source().fragment(), "contents");
    window->close();
    EXPECT_EQ(ShownWindow("frmHelp"), nullptr) << "a second help window";
}

} // namespace
} // namespace valdrex
