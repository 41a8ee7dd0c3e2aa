// Runs from a copy beside the unpacked programs, with VALDREX_INSTALLED_FOLDER naming their
// folder and VALDREX_INSTALLED_DATA the installed data folder: Help and About must read the files
// installed there.
#include "core/platform_files.h"
#include "dialogs/program_windows.h"
#include "gui_test.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTextBrowser>
#include <QTextDocument>

namespace valdrex {
namespace {

const QString kFolder = qEnvironmentVariable("VALDREX_INSTALLED_FOLDER");
const QString kDataFolder = qEnvironmentVariable("VALDREX_INSTALLED_DATA");

QString ReadInstalled(const char* name) {
    QFile file(kDataFolder + "/" + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return QString::fromUtf8(file.readAll());
}

TEST(InstalledProgram, FoldersAreThoseOfTheInstalledTree) {
    ASSERT_FALSE(kFolder.isEmpty() || kDataFolder.isEmpty()) << "the folders are not set";
    EXPECT_EQ(QString::fromStdString(ProgramFolder()), kFolder);
    EXPECT_EQ(QString::fromStdString(ProgramDataFolder()), kDataFolder);
}

TEST(InstalledProgram, HelpShowsTheInstalledHelpFile) {
    ASSERT_EQ(ShowHelp(nullptr), std::nullopt);
    QWidget* window = ShownWindow("frmHelp");
    ASSERT_NE(window, nullptr);
    auto* browser = Child<QTextBrowser>(window, "txtHelp");
    EXPECT_EQ(browser->source().toLocalFile(), kDataFolder + "/Valdrex.hlp");
    EXPECT_EQ(browser->source().fragment(), "contents");
    QTextDocument installed;
    installed.setHtml(ReadInstalled("Valdrex.hlp"));
    EXPECT_FALSE(installed.toPlainText().isEmpty());
    EXPECT_EQ(browser->toPlainText(), installed.toPlainText());
    window->close();
}

TEST(InstalledProgram, AboutShowsTheInstalledReadme) {
    QString readme = ReadInstalled("readme.txt").replace("\r\n", "\n");
    if (readme.endsWith('\n'))
        readme.chop(1);
    ASSERT_FALSE(readme.isEmpty());
    const ModalAnswer answer(QMessageBox::Ok, [&](QDialog* window) {
        EXPECT_EQ(Child<QPlainTextEdit>(window, "txtInfo")->toPlainText(), readme);
    });
    ShowAbout(ModuleState{}, nullptr);
}

} // namespace
} // namespace valdrex
