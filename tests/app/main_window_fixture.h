#pragma once

#include "app/home_folder.h"
#include "app/main_window.h"
#include "app/settings_store.h"
#include "file_bytes.h"
#include "gui_test.h"

#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

#include <map>
#include <memory>

namespace valdrex {

// The multiplication sign of the equation texts.
inline const QString kDot = QString(QChar(0x00B7));

// Coefficient texts by power, as typed.
using Grid = std::map<int, const char*>;

// Every test opens the window afresh: no stored settings, no database file, an empty clipboard.
// Message boxes are answered with OK and kept in answer_.boxes; other dialogs are cancelled.
class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QFile::remove(SettingsPath());
        QFile::remove(DatabasePath());
        QGuiApplication::clipboard()->clear();
        OpenWindow();
    }

    static QString HomePath() { return qEnvironmentVariable("HOME"); }
    static QString SettingsPath() {
        return qEnvironmentVariable("XDG_CONFIG_HOME") + "/Valdrex/Valdrex.ini";
    }
    static QString DatabasePath() { return HomePath() + "/Valdrexdb.txt"; }
    static std::string Database() { return Bytes(DatabasePath().toStdString()); }

    // Creates the window as the program does, shows it and waits until it is active.
    void OpenWindow() {
        const AppEnvironment env{QCoreApplication::applicationDirPath().toStdString(), "Valdrex",
                                 HomeFolder()};
        window_ = std::make_unique<frmMain>(state_, store_, env);
        window_->show();
        Activate();
    }
    // The offscreen platform does not give the activation back when a message box closes.
    void Activate() {
        if (QApplication::activeWindow() == window_.get())
            return;
        window_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }

    template <typename Widget = QLineEdit> Widget* Find(const QString& name) const {
        return Child<Widget>(window_.get(), name);
    }
    QLineEdit* Coef(int power) const { return Find(QString("txtCoef_%1").arg(power)); }
    QString Text(const QString& name) const { return Find(name)->text(); }
    QString Label(const QString& name) const { return Find<QLabel>(name)->text(); }
    QString Clipboard() const { return QGuiApplication::clipboard()->text(); }
    int Solutions() const { return Find<QListWidget>("lstSol")->count(); }

    // Visits the box by Tab and types `keys` one at a time.
    void Type(QWidget* box, const QString& keys) {
        Activate();
        if (box->hasFocus())
            Find<QPushButton>("cmdTest")->setFocus(Qt::TabFocusReason);
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(box, keys);
    }
    // Sets all to zero (Ctrl+S) and types the grid's coefficients.
    void EnterGrid(const Grid& grid) {
        PressCtrl(Qt::Key_S);
        for (const auto& [power, keys] : grid)
            Type(Coef(power), keys);
    }
    // A Ctrl+letter press where the focus is.
    void PressCtrl(Qt::Key key) {
        Activate();
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target != nullptr ? target : window_.get(), key, Qt::ControlModifier);
    }
    // Whether the item is enabled once its menu has been opened as the user would.
    bool IsEnabled(const char* menu, const char* item) const {
        Find<QMenu>(menu)->popup(window_->mapToGlobal(QPoint(10, 10)));
        Find<QMenu>(menu)->hide();
        return Find<QAction>(item)->isEnabled();
    }
    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
    void Trigger(const char* item) { Find<QAction>(item)->trigger(); }

    ModuleState state_;
    QtSettingsStore store_;
    ModalAnswer answer_;
    std::unique_ptr<frmMain> window_;
};

} // namespace valdrex
