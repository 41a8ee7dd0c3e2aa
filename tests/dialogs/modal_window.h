#pragma once

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace valdrex::testing {

// Runs `act` on the modal window, made active so that focus can move inside it. A dialog that
// `act` leaves open is cancelled afterwards, so a failed expectation cannot leave a test waiting.
inline void ActOn(QWidget* window, const std::function<void(QWidget*)>& act) {
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    act(window);
    if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible())
        dialog->reject();
}

// Runs `act` on the next modal window once it is open (one other than the modal window open at
// the call); call it just before the code that opens the window and waits for it.
inline void WhenModalOpens(std::function<void(QWidget*)> act) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout,
                     [poll, before = QApplication::activeModalWidget(), act = std::move(act)] {
                         QWidget* window = QApplication::activeModalWidget();
                         if (!window || window == before)
                             return;
                         poll->stop();
                         poll->deleteLater();
                         ActOn(window, act);
                     });
    poll->start();
}

template <class Widget = QLineEdit> Widget* Child(const QWidget* window, const char* name) {
    return window->findChild<Widget*>(QString::fromLatin1(name));
}

} // namespace valdrex::testing
