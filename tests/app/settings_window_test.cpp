#include "main_window_fixture.h"

#include <QSettings>

#include <tuple>

namespace valdrex {
namespace {

TEST_F(MainWindowTest, FirstStartNamesTheDefaultDatabaseFileInTheFileMenu) {
    OpenWindow();
    EXPECT_EQ(window_->windowTitle(), "Valdrex");
    EXPECT_TRUE(QFile::exists(DatabasePath()));
    EXPECT_EQ(Find<QAction>("mnuFileApri")->text(), "&Edit " + DatabasePath());
}

TEST_F(MainWindowTest, SettingsSurviveClosingAndReopening) {
    OpenWindow();
    const QString file = HomePath() + "/chosen.txt";
    state_.DatabaseFile = file.toStdString();
    state_.OverwriteFile = 1;
    state_.EvaluateSymbolically = 0;
    state_.ShowWelcome = 0;
    CloseWindow();
    state_ = ModuleState{};
    OpenWindow();
    EXPECT_EQ(std::tuple(state_.SaveEquations, state_.OverwriteFile, state_.EvaluateSymbolically),
              std::tuple(1, 1, 0));
    EXPECT_EQ(QString::fromStdString(state_.DatabaseFile), file);
    EXPECT_TRUE(QFile::exists(file));
    QSettings stored(SettingsPath(), QSettings::IniFormat);
    EXPECT_EQ(stored.value("Options/Welcome").toString(), "0");
    EXPECT_TRUE(stored.contains("Options/File for Saving"));
}

TEST_F(MainWindowTest, ActivationShowsTheDatabaseFileInTheFileMenu) {
    OpenWindow();
    state_.DatabaseFile = "/tmp/R&D/db.txt";
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(window_.get(), &activate);
    EXPECT_EQ(Find<QAction>("mnuFileApri")->text(), "&Edit /tmp/R&&D/db.txt");
}

} // namespace
} // namespace valdrex
