#include "main_window_fixture.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QMenu>
#include <QSettings>

namespace valdrex {
namespace {

QSettings StoredSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Valdrex"),
                     QStringLiteral("Valdrex"));
}

TEST_F(MainWindowTest, FirstStartUsesTheDefaultsAndCreatesTheDatabaseFile) {
    OpenWindow();
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Valdrex"));
    EXPECT_EQ(state_.SaveEquations, 1);
    EXPECT_EQ(state_.OverwriteFile, 0);
    EXPECT_EQ(state_.EvaluateSymbolically, 1);
    EXPECT_EQ(QString::fromStdString(state_.DatabaseFile), DatabasePath());
    ASSERT_TRUE(QFile::exists(DatabasePath()));
    EXPECT_EQ(QFile(DatabasePath()).size(), 0);
    EXPECT_EQ(Find<QAction>(QStringLiteral("mnuFileApri"))->text(), "&Edit " + DatabasePath());
}

TEST_F(MainWindowTest, SettingsSurviveClosingAndReopening) {
    OpenWindow();
    const QString file = HomePath() + QStringLiteral("/chosen.txt");
    state_.DatabaseFile = file.toStdString();
    state_.OverwriteFile = 1;
    state_.EvaluateSymbolically = 0;
    state_.ShowWelcome = 0;
    CloseWindow();

    state_ = ModuleState{};
    OpenWindow();
    EXPECT_EQ(state_.SaveEquations, 1);
    EXPECT_EQ(state_.OverwriteFile, 1);
    EXPECT_EQ(state_.EvaluateSymbolically, 0);
    EXPECT_EQ(QString::fromStdString(state_.DatabaseFile), file);
    EXPECT_TRUE(QFile::exists(file));
    QSettings stored = StoredSettings();
    stored.beginGroup(QStringLiteral("Options"));
    EXPECT_EQ(stored.value(QStringLiteral("Welcome")).toString(), QStringLiteral("0"));
    EXPECT_TRUE(stored.childKeys().contains(QStringLiteral("File for Saving")));
}

TEST_F(MainWindowTest, PathKeyIsReadWhateverItsCase) {
    const QString file = HomePath() + QStringLiteral("/upper.txt");
    store_.Write("Options", "FILE FOR SAVING", file.toStdString());
    OpenWindow();
    EXPECT_EQ(QString::fromStdString(state_.DatabaseFile), file);
    CloseWindow();
    QSettings stored = StoredSettings();
    stored.beginGroup(QStringLiteral("Options"));
    const QStringList pathKeys =
        stored.childKeys().filter(QStringLiteral("file for saving"), Qt::CaseInsensitive);
    EXPECT_EQ(pathKeys, QStringList{QStringLiteral("File for Saving")});
}

TEST_F(MainWindowTest, PathIsNotStoredWhenSolvesDoNotSave) {
    OpenWindow();
    state_.SaveEquations = 0;
    state_.DatabaseFile = (HomePath() + QStringLiteral("/elsewhere.txt")).toStdString();
    CloseWindow();
    state_ = ModuleState{};
    OpenWindow();
    EXPECT_EQ(state_.SaveEquations, 0);
    EXPECT_EQ(QString::fromStdString(state_.DatabaseFile), DatabasePath());
}

TEST_F(MainWindowTest, ActivationShowsTheDatabaseFileInTheFileMenu) {
    OpenWindow();
    state_.DatabaseFile = "/tmp/R&D/db.txt";
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(window_.get(), &activate);
    EXPECT_EQ(Find<QAction>(QStringLiteral("mnuFileApri"))->text(),
              QStringLiteral("&Edit /tmp/R&&D/db.txt"));
}

} // namespace
} // namespace valdrex
