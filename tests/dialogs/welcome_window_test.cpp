#include "dialogs/welcome_window.h"

#include "dialogs/version_text.h"
#include "modal_window.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace valdrex {
namespace {

using testing::Child;
using testing::WhenModalOpens;

MemorySettingsStore WelcomeSetting(const char* value) {
    MemorySettingsStore store;
    store.Write("Options", "Welcome", value);
    return store;
}

TEST(RunWelcome, WelcomeOffGoesOnAtOnceWithTheTextsComposed) {
    for (const char* value : {"0", "2", "-1", "yes"}) {
        ModuleState state;
        const bool shown = QApplication::activeModalWidget() != nullptr;
        EXPECT_TRUE(RunWelcome(state, WelcomeSetting(value))) << value;
        EXPECT_FALSE(shown);
        EXPECT_NE(state.ShowWelcome, 1) << value;
        EXPECT_EQ(state.VersionText, ProgramVersionText());
        EXPECT_EQ(state.CommentText, CommentText());
    }
}

TEST(RunWelcome, ShowsTheWindowUntilOk) {
    for (bool settingMissing : {true, false}) {
        const MemorySettingsStore store =
            settingMissing ? MemorySettingsStore() : WelcomeSetting("1");
        ModuleState state;
        WhenModalOpens([&](QWidget* window) {
            EXPECT_EQ(window->objectName(), "frmSplash");
            EXPECT_EQ(window->windowTitle(), " Valdrex");
            EXPECT_EQ(Child<QLabel>(window, "lblTitle")->text(), "Valdrex");
            EXPECT_TRUE(Child<QLabel>(window, "lblTitle")->font().bold());
            EXPECT_TRUE(Child<QLabel>(window, "lblTitle")->font().italic());
            EXPECT_EQ(Child<QLabel>(window, "lblVersion")->text().toStdString(), state.VersionText);
            EXPECT_EQ(Child<QLabel>(window, "lblComment")->text(),
                      QString::fromStdString(state.CommentText).replace("\r\n", "\n"));
            EXPECT_FALSE(Child<QLabel>(window, "imgLogo")->pixmap().isNull());
            auto* frame = Child<QGroupBox>(window, "Frame1");
            auto* ok = Child<QPushButton>(frame, "cmdOK");
            EXPECT_EQ(frame->title(), "");
            EXPECT_EQ(ok->text(), "&OK");
            EXPECT_NEAR(ok->x(), (frame->width() - ok->width()) / 2, 1) << "centred";
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        EXPECT_TRUE(RunWelcome(state, store)) << "missing: " << settingMissing;
        EXPECT_EQ(state.ShowWelcome, 1);
    }
}

TEST(RunWelcome, ClosingOtherwiseThanByOkEndsTheProgram) {
    ModuleState state;
    WhenModalOpens([](QWidget* window) { window->close(); });
    EXPECT_FALSE(RunWelcome(state, MemorySettingsStore()));

    WhenModalOpens([](QWidget* window) { QTest::keyClick(window, Qt::Key_Escape); });
    EXPECT_FALSE(RunWelcome(state, MemorySettingsStore()));
}

} // namespace
} // namespace valdrex
