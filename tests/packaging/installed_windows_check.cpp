// Runs from a copy beside the unpacked program, started through a link in bin/, with
// VALDREX_INSTALLED_FOLDER naming the real program folder: Help and About must read the files
// installed there.
#include "app/home_folder.h"
#include "app/module_state.h"
#include "dialogs/about_window.h"
#include "dialogs/help_window.h"
#include "modal_window.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <cstdlib>

namespace valdrex {
namespace {

using testing::Child;
using testing::WhenModalOpens;

std::string InstalledFolder() {
    const char* folder = std::getenv("VALDREX_INSTALLED_FOLDER");
    return folder != nullptr ? folder : "";
}

QString InstalledFile(const char* name) {
    return QString::fromStdString(InstalledFolder()) + "/" + name;
}

QString ReadInstalledFile(const char* name) {
    QFile file(InstalledFile(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return QString::fromUtf8(file.readAll());
}

QWidget* OpenHelpWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == "frmHelp" && widget->isVisible())
            return widget;
    return nullptr;
}

TEST(InstalledProgram, FolderIsTheRealFolderBehindTheLink) {
    ASSERT_FALSE(InstalledFolder().empty()) << "VALDREX_INSTALLED_FOLDER is not set";
    EXPECT_EQ(ProgramFolder(), InstalledFolder());
}

TEST(InstalledProgram, HelpShowsTheInstalledHelpFile) {
    const std::optional<ErrorBox> box = ShowHelp(nullptr);
    ASSERT_FALSE(box.has_value()) << box->text;
    QWidget* window = OpenHelpWindow();
    ASSERT_NE(window, nullptr);
    auto* browser = Child<QTextBrowser>(window, "txtHelp");
    EXPECT_EQ(browser->source().toLocalFile(), InstalledFile("Valdrex.hlp"));
    EXPECT_EQ(browser->source().fragment(), "contents");

    QTextDocument installed;
    installed.setHtml(ReadInstalledFile("Valdrex.hlp"));
    EXPECT_FALSE(installed.toPlainText().isEmpty());
    EXPECT_EQ(browser->toPlainText(), installed.toPlainText());
    window->close();
}

TEST(InstalledProgram, AboutShowsTheInstalledReadme) {
    QString expected = ReadInstalledFile("readme.txt");
    expected.replace("\r\n", "\n");
    if (expected.endsWith('\n'))
        expected.chop(1);
    ASSERT_FALSE(expected.isEmpty());

    QString shown;
    WhenModalOpens([&](QWidget* window) {
        shown = Child<QPlainTextEdit>(window, "txtInfo")->toPlainText();
        QTest::mouseClick(Child<QPushButton>(window, "Command1"), Qt::LeftButton);
    });
    ShowAbout(ModuleState{}, nullptr);
    EXPECT_EQ(shown, expected);
}

} // namespace
} // namespace valdrex
