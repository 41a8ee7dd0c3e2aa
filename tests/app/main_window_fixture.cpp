#include "main_window_fixture.h"

#include "app/home_folder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace valdrex {

ModalBoxAnswerer::ModalBoxAnswerer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { AnswerOpenBox(); });
    timer_.start(10);
}

void ModalBoxAnswerer::AnswerOpenBox() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible())
        return;
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box == nullptr) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialogs_ << QLatin1String(dialog->metaObject()->className());
            answerDialog ? answerDialog(*dialog) : dialog->reject();
        }
        return;
    }
    const QList<QAbstractButton*> buttons = box->buttons();
    boxes_.push_back({box->text(), box->icon(), box->windowTitle(),
                      buttons.size() == 1 && box->button(QMessageBox::Ok) != nullptr});
    if (QAbstractButton* ok = box->button(QMessageBox::Ok))
        ok->click();
    else
        box->reject();
}

void MainWindowTest::SetUp() {
    QFile::remove(SettingsPath());
    QFile::remove(DatabasePath());
    QGuiApplication::clipboard()->clear();
}

void MainWindowTest::TearDown() {
    window_.reset();
}

QString MainWindowTest::HomePath() {
    return QString::fromLocal8Bit(qgetenv("HOME"));
}

QString MainWindowTest::SettingsPath() {
    return QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) +
           QStringLiteral("/Valdrex/Valdrex.ini");
}

QString MainWindowTest::DatabasePath() {
    return HomePath() + QStringLiteral("/Valdrexdb.txt");
}

QByteArray MainWindowTest::ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

frmMain& MainWindowTest::OpenWindow() {
    const AppEnvironment env{QCoreApplication::applicationDirPath().toStdString(), "Valdrex",
                             HomeFolder()};
    window_ = std::make_unique<frmMain>(state_, store_, env);
    window_->show();
    Activate();
    return *window_;
}

void MainWindowTest::CloseWindow() {
    window_->close();
    window_.reset();
}

QLineEdit* MainWindowTest::Coef(int power) const {
    return Find<QLineEdit>(QStringLiteral("txtCoef_%1").arg(power));
}

QString MainWindowTest::Text(const QString& lineEditName) const {
    return Find<QLineEdit>(lineEditName)->text();
}

void MainWindowTest::Activate() {
    // The offscreen platform does not give the activation back when a message box closes.
    if (QApplication::activeWindow() == window_.get())
        return;
    window_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
}

void MainWindowTest::Type(QWidget* box, const QString& keys) {
    Activate();
    if (box->hasFocus())
        Find<QPushButton>(QStringLiteral("cmdTest"))->setFocus(Qt::TabFocusReason);
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(box, keys);
}

void MainWindowTest::EnterGrid(const Grid& grid) {
    PressCtrl(Qt::Key_S);
    for (const auto& [power, keys] : grid)
        TypeCoefficient(power, QLatin1String(keys));
}

void MainWindowTest::PressCtrl(Qt::Key key) {
    Activate();
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target != nullptr ? target : window_.get(), key, Qt::ControlModifier);
}

void MainWindowTest::OpenAndCloseMenu(const QString& menuName) {
    auto* menu = Find<QMenu>(menuName);
    menu->popup(window_->mapToGlobal(QPoint(10, 10)));
    menu->hide();
}

bool MainWindowTest::IsEnabled(const QString& actionName) const {
    return Find<QAction>(actionName)->isEnabled();
}

} // namespace valdrex
