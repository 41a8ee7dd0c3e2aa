#include "dialogs/welcome_window.h"

#include "dialogs/version_text.h"
#include "gui_test.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace valdrex {
namespace {

MemorySettingsStore WelcomeSetting(const char* value) {
    MemorySettingsStore store;
    if (value != nullptr)
        store.Write("Options", "Welcome", value);
    return store;
}

TEST(RunWelcome, WelcomeOffGoesOnAtOnceWithTheTextsComposed) {
    for (const char* value : {"0", "2", "-1", "yes"}) {
        ModuleState state;
        const ModalAnswer answer;
        EXPECT_TRUE(RunWelcome(state, WelcomeSetting(value))) << value;
        EXPECT_EQ(answer.dialogs, QStringList{}) << value;
        EXPECT_NE(state.ShowWelcome, 1) << value;
        EXPECT_EQ(state.VersionText, ProgramVersionText());
        EXPECT_EQ(state.CommentText, CommentText());
    }
}

TEST(RunWelcome, ShowsTheWindowUntilOk) {
    for (const char* value : {static_cast<const char*>(nullptr), "1"}) {
        ModuleState state;
        const ModalAnswer answer(QMessageBox::Ok, [&](QDialog* window) {
            const auto label = [&](const char* name) { return window->findChild<QLabel*>(name); };
            EXPECT_EQ(window->objectName(), "frmSplash");
            EXPECT_EQ(window->windowTitle(), " Valdrex");
            EXPECT_EQ(label("lblTitle")->text(), "Valdrex");
            EXPECT_TRUE(label("lblTitle")->font().bold() && label("lblTitle")->font().italic());
            EXPECT_EQ(label("lblVersion")->text().toStdString(), state.VersionText);
            EXPECT_EQ(label("lblComment")->text(),
                      QString::fromStdString(state.CommentText).replace("\r\n", "\n"));
            EXPECT_FALSE(label("imgLogo")->pixmap().isNull());
            auto* frame = window->findChild<QGroupBox*>("Frame1");
            auto* ok = frame->findChild<QPushButton*>("cmdOK");
            EXPECT_EQ(frame->title(), "");
            EXPECT_EQ(ok->text(), "&OK");
            EXPECT_NEAR(ok->x(), (frame->width() - ok->width()) / 2, 1) << "centred";
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        EXPECT_TRUE(RunWelcome(state, WelcomeSetting(value)));
        EXPECT_EQ(answer.dialogs.size(), 1);
        EXPECT_EQ(state.ShowWelcome, 1);
    }
}

TEST(RunWelcome, ClosingOtherwiseThanByOkEndsTheProgram) {
    for (const auto& close : std::vector<std::function<void(QDialog*)>>{
             [](QDialog* window) { window->close(); },
             [](QDialog* window) { QTest::keyClick(window, Qt::Key_Escape); }}) {
        ModuleState state;
        const ModalAnswer answer(QMessageBox::Ok, [&](QDialog* window) {
            close(window);
            EXPECT_FALSE(window->isVisible());
        });
        EXPECT_FALSE(RunWelcome(state, MemorySettingsStore()));
    }
}

} // namespace
} // namespace valdrex
