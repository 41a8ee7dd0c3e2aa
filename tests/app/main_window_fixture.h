#pragma once

#include "app/main_window.h"
#include "app/settings_store.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace valdrex {

// The multiplication sign of the equation texts.
inline const QString kDot = QString(QChar(0x00B7));

// Coefficient texts by power, as typed.
using Grid = std::map<int, const char*>;

struct ShownBox {
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    bool okOnly = false;
};

// Answers every modal message box with its OK button and keeps what it showed. Other modal
// windows are closed by `answerDialog` (by default they are rejected) and their class names
// kept.
class ModalBoxAnswerer {
  public:
    ModalBoxAnswerer();
    const std::vector<ShownBox>& boxes() const { return boxes_; }
    const QStringList& dialogs() const { return dialogs_; }
    void clear() { boxes_.clear(); }

    std::function<void(QDialog&)> answerDialog;

  private:
    void AnswerOpenBox();

    QTimer timer_;
    std::vector<ShownBox> boxes_;
    QStringList dialogs_;
};

// A fresh start for every test: no stored settings, no database file, an empty clipboard.
class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    static QString HomePath();
    static QString SettingsPath();
    static QString DatabasePath();
    static QByteArray ReadFile(const QString& path);

    // Creates the window as the program does, shows it and waits until it is active.
    frmMain& OpenWindow();
    // Closes the window by its close box and drops it.
    void CloseWindow();
    void Activate();

    template <typename Widget> Widget* Find(const QString& name) const {
        auto* widget = window_->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QLineEdit* Coef(int power) const;
    QString Text(const QString& lineEditName) const;

    // Visits the box by Tab and types `keys` one at a time.
    void Type(QWidget* box, const QString& keys);
    void TypeCoefficient(int power, const QString& keys) { Type(Coef(power), keys); }
    // Sets all to zero (Ctrl+S) and types the grid's coefficients.
    void EnterGrid(const Grid& grid);
    // A Ctrl+letter press where the focus is.
    void PressCtrl(Qt::Key key);
    // Opens a menu of the menu bar as the user would, and closes it again.
    void OpenAndCloseMenu(const QString& menuName);
    bool IsEnabled(const QString& actionName) const;

    ModuleState state_;
    QtSettingsStore store_;
    std::unique_ptr<frmMain> window_;
    ModalBoxAnswerer answerer_;
};

} // namespace valdrex
