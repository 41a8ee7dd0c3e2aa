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
        EXPECT_EQ(state.VersionText + "|" + state.CommentText,
                  ProgramVersionText() + "|" + CommentText());
    }
}

// The window shows until OK; closing it any other way ends the program.
TEST(RunWelcome, ShowsTheWindowUntilOk) {
    enum Leave { kOk, kCloseBox, kEscape };
    const std::tuple<const char*, Leave> cases[] = {
        {nullptr, kOk}, {"1", kOk}, {"1", kCloseBox}, {nullptr, kEscape}};
    for (const auto& [value, leave] : cases) {
        ModuleState state;
        const ModalAnswer answer(QMessageBox::Ok, [&](QDialog* window) {
            const auto label = [&](const char* name) { return Child<QLabel>(window, name); };
            EXPECT_EQ(window->objectName() + "|" + window->windowTitle(), "frmSplash| Valdrex");
            EXPECT_EQ(label("lblTitle")->text(), "Valdrex");
            EXPECT_TRUE(label("lblTitle")->font().bold() && label("lblTitle")->font().italic());
            EXPECT_EQ(label("lblVersion")->text().toStdString(), state.VersionText);
            EXPECT_EQ(label("lblComment")->text(),
                      QString::fromStdString(state.CommentText).replace("\r\n", "\n"));
            EXPECT_FALSE(label("imgLogo")->pixmap().isNull());
            auto* frame = Child<QGroupBox>(window, "Frame1");
            auto* ok = Child<QPushButton>(frame, "cmdOK");
            EXPECT_EQ(frame->title() + "|" + ok->text(), "|&OK");
            EXPECT_NEAR(ok->x(), (frame->width() - ok->width()) / 2, 1) << "centred";
            if (leave == kOk)
                QTest::mouseClick(ok, Qt::LeftButton);
            else
                leave == kCloseBox ? void(window->close())
                                   : QTest::keyClick(window, Qt::Key_Escape);
            EXPECT_FALSE(window->isVisible());
        });
        EXPECT_EQ(RunWelcome(state, WelcomeSetting(value)), leave == kOk);
        EXPECT_EQ(answer.dialogs.size(), 1);
        EXPECT_TRUE(leave != kOk || state.ShowWelcome == 1);
    }
}

} // namespace
} // namespace valdrex
