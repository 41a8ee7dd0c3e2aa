#include "core/platform_files.h"
#include "dialogs/dialog_parts.h"
#include "dialogs/program_windows.h"
#include "file_bytes.h"
#include "gui_test.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTextBrowser>

namespace valdrex {
namespace {

TEST(AboutWindow, ShowsTitleVersionCreditsAndTheReadmeLines) {
    ModuleState state;
    state.VersionText = "Version 1.3.0 for Linux x86_64";
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
                      "Valdrex|Version 1.3.0 for Linux x86_64|Comments\n\nRealized by \nNotice");
            auto* info = Child<QPlainTextEdit>(window, "txtInfo");
            EXPECT_TRUE(info->isReadOnly());
            EXPECT_EQ(info->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
            EXPECT_EQ(info->toPlainText(), shown);
            ExpectTidyLayout(window);
            // The rule: black across the window at 320 pixels, from its left edge.
            const QImage image = window->grab().toImage();
            EXPECT_EQ(image.pixelColor(0, 320), QColor(Qt::black));
            EXPECT_EQ(image.pixelColor(470, 320), QColor(Qt::black));
            auto* ok = Child<QPushButton>(window, "Command1");
            EXPECT_TRUE(ok->isDefault()) << "Enter closes the window wherever the focus is";
            QTest::mouseClick(ok, Qt::LeftButton);
            EXPECT_FALSE(window->isVisible());
        });
        ShowAbout(state, nullptr);
        std::remove(readme.c_str());
    }
}

TEST(Help, OpensOneWindowAtTheContentsPageOrGivesTheHelpErrorBox) {
    const ErrorBox box{"2. No such file or directory", BoxIcon::Critical, "Valdrex", 2,
                       "No such file or directory"};
    EXPECT_EQ(ShowHelpFile("/nonexistent-folder/Valdrex.hlp", nullptr), box);
    EXPECT_EQ(ShowHelp(nullptr), box); // the test program's folder holds no help file either
    QTemporaryDir folder;
    const std::string path = HelpFilePath(folder.path().toStdString());
    Put(path,
        "<html><body><h1 id=\"contents\">Contents</h1><p id=\"typing\">Typing</p></body></html>");
    QWidget owner;
    owner.setGeometry(0, 0, 100, 80);
    owner.show();
    EXPECT_EQ(ShowHelpFile(path, &owner), std::nullopt);
    QWidget* window = ShownWindow("frmHelp");
    ASSERT_NE(window, nullptr);
    EXPECT_GT(window->frameGeometry().left(), owner.frameGeometry().right()) << "beside it";
    EXPECT_EQ(ShowHelpFile(path, nullptr), std::nullopt);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the help window is not modal";
    auto* browser = Child<QTextBrowser>(window, "txtHelp");
    EXPECT_TRUE(browser->toPlainText().startsWith("Contents"));
    EXPECT_EQ(browser->source().fragment(), "contents");
    QUrl typing = browser->source();
    typing.setFragment("typing");
    browser->setSource(typing);
    Child<QPushButton>(window, "cmdBack")->click();
    EXPECT_EQ(browser->source().fragment(), "contents");
    browser->setSource(typing);
    Child<QPushButton>(window, "cmdContents")->click();
    EXPECT_EQ(browser->source().fragment(), "contents");
    browser->setSource(typing);
    EXPECT_EQ(ShowHelpFile(path, nullptr), std::nullopt); // asked again: the contents, and back
    EXPECT_EQ(browser->source().fragment(), "contents");  // only to the page it was on
    Child<QPushButton>(window, "cmdBack")->click();
    EXPECT_EQ(browser->source().fragment(), "typing");
    EXPECT_FALSE(browser->isBackwardAvailable());
    window->setGeometry(10, 20, 300, 200);
    window->close();
    EXPECT_EQ(ShownWindow("frmHelp"), nullptr) << "a second help window";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ShowHelpFile(path, &owner), std::nullopt);
    window = ShownWindow("frmHelp");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->geometry(), QRect(10, 20, 300, 200)) << "where it was left";
    window->close();
}

TEST(WindowPlacement, BesideTheOwnerWhereThereIsRoomElseCentredOverIt) {
    const QRect screen(0, 0, 1920, 1080);
    const std::pair<QRect, QPoint> cases[] = {
        {{100, 50, 800, 600}, {908, 50}},    // right of it
        {{1000, 700, 800, 600}, {392, 680}}, // left of it, its bottom on the screen
        {{300, 100, 1400, 700}, {700, 250}}, // no room either side
        {{0, 0, 1920, 1080}, {660, 340}},
    };
    for (const auto& [owner, topLeft] : cases)
        EXPECT_EQ(PlaceBeside(owner, {600, 400}, screen), QRect(topLeft, QSize(600, 400)))
            << owner.x() << "," << owner.y();
}

// The help file's folder drops one trailing separator, the readme's keeps it; the readme's
// lines are joined with CR LF, with no end after the last.
TEST(ProgramFiles, HelpAndReadmeFilesAndTheReadmesText) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"/opt/valdrex", "/opt/valdrex/Valdrex.hlp", "/opt/valdrex/readme.txt"},
        {"/opt/valdrex/", "/opt/valdrex/Valdrex.hlp", "/opt/valdrex//readme.txt"},
        {"/", "/Valdrex.hlp", "//readme.txt"}};
    for (const auto& [folder, help, readme] : cases)
        EXPECT_EQ(HelpFilePath(folder) + "|" + ReadmeFilePath(folder),
                  help + std::string("|") + readme);
    const std::pair<const char*, const char*> texts[] = {
        {"a\r\nb\r\nc", "a\r\nb\r\nc"},
        {"a\r\nb\r\nc\r\n", "a\r\nb\r\nc"},
        {"a\rb\rc", "a\r\nb\r\nc"},
        {"a\nb\nc\n", "a\r\nb\r\nc"},
        {"a\n\r\nb", "a\r\n\r\nb"},
        {"a\r\rb", "a\r\n\r\nb"},
        {"\r\nfirst line empty", "\r\nfirst line empty"},
        {"\n", ""},
        {"", ""},
    };
    for (const auto& [contents, text] : texts)
        EXPECT_EQ(ReadmeText(contents), text) << testing::PrintToString(contents);
    EXPECT_EQ(ReadReadmeFile("/nonexistent-folder/readme.txt"), "");
    QTemporaryDir dir;
    const std::string path = dir.filePath("readme.txt").toStdString();
    Put(path, "Valdrex\r\n\r\nSolves equations.\n");
    EXPECT_EQ(ReadReadmeFile(path), "Valdrex\r\n\r\nSolves equations.");
}

MemorySettingsStore WelcomeSetting(const char* value) {
    MemorySettingsStore store;
    if (value != nullptr)
        store.Write("Options", "Welcome", value);
    return store;
}

TEST(RunWelcome, WelcomeOffGoesOnAtOnceWithTheTextsComposed) {
    for (const char* value : {"0", "2", "-1", "yes", "x"}) {
        ModuleState state;
        const ModalAnswer answer;
        EXPECT_TRUE(RunWelcome(state, WelcomeSetting(value))) << value;
        EXPECT_EQ(answer.dialogs, QStringList{}) << value;
        EXPECT_FALSE(state.ShowWelcome) << value;
        // The version the project is built as and the system the program was built for.
        EXPECT_EQ(QString::fromStdString(state.VersionText),
                  "Version " PROJECT_VERSION " for Linux " + QSysInfo::buildCpuArchitecture());
        EXPECT_EQ(state.CommentText, CommentText());
    }
}

// The window shows until OK; closing it any other way ends the program.
TEST(RunWelcome, ShowsTheWindowUntilOk) {
    enum Leave { kOk, kCloseBox, kEscape };
    const std::tuple<const char*, Leave> cases[] = {
        {nullptr, kOk}, {"1", kOk}, {" 1 ", kOk}, {"1", kCloseBox}, {nullptr, kEscape}};
    for (const auto& [value, leave] : cases) {
        ModuleState state;
        const ModalAnswer answer(QMessageBox::Ok, [&](QDialog* window) {
            const auto label = [&](const char* name) { return Child<QLabel>(window, name); };
            EXPECT_EQ(window->objectName(), "frmSplash");
            EXPECT_EQ(label("lblVersion")->text().toStdString(), state.VersionText);
            EXPECT_EQ(label("lblComment")->text(),
                      QString::fromStdString(state.CommentText).replace("\r\n", "\n"));
            EXPECT_FALSE(label("imgLogo")->pixmap().isNull());
            auto* frame = Child<QGroupBox>(window, "Frame1");
            auto* ok = Child<QPushButton>(frame, "cmdOK");
            EXPECT_NEAR(ok->x(), (frame->width() - ok->width()) / 2, 1) << "centred";
            EXPECT_TRUE(ok->isDefault());
            ExpectTidyLayout(window);
            if (leave == kOk)
                QTest::mouseClick(ok, Qt::LeftButton);
            else
                leave == kCloseBox ? void(window->close())
                                   : QTest::keyClick(window, Qt::Key_Escape);
            EXPECT_FALSE(window->isVisible());
        });
        EXPECT_EQ(RunWelcome(state, WelcomeSetting(value)), leave == kOk);
        EXPECT_EQ(answer.dialogs.size(), 1);
        EXPECT_TRUE(leave != kOk || state.ShowWelcome);
    }
}

} // namespace
} // namespace valdrex
