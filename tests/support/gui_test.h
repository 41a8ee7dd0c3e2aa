#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace valdrex {

struct SeenBox {
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    bool operator==(const SeenBox&) const = default;
};
using Boxes = std::vector<SeenBox>;

inline void PrintTo(const SeenBox& box, std::ostream* out) {
    *out << box.text.toStdString() << " | " << box.title.toStdString() << " | icon " << box.icon
         << " | buttons " << box.buttons.toInt();
}

// How many ModalAnswer objects are alive. While there is none, a modal window fails the test at
// once (see gui_test_main.cpp) instead of waiting for a click until ctest's timeout.
inline int& ArmedModalAnswers() {
    static int armed = 0;
    return armed;
}

// While alive, answers every modal window: a message box with `button` (or by rejecting it
// when it lacks one), keeping what it showed; any other dialog by `onDialog`, run once the
// dialog is active and from the dialog's own loop, so that a box it opens is answered too.
// A dialog still open after `onDialog` is rejected, so a failed check cannot hang a test.
class ModalAnswer {
  public:
    explicit ModalAnswer(QMessageBox::StandardButton button = QMessageBox::Ok,
                         std::function<void(QDialog*)> onDialog = {})
        : button(button), onDialog(std::move(onDialog)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(5);
        ++ArmedModalAnswers();
    }
    ~ModalAnswer() {
        --ArmedModalAnswers();
        EXPECT_TRUE(acted_ || !onDialog) << "no dialog opened to act on";
    }
    ModalAnswer(const ModalAnswer&) = delete;
    ModalAnswer& operator=(const ModalAnswer&) = delete;

    QMessageBox::StandardButton button;
    std::function<void(QDialog*)> onDialog;
    Boxes boxes;
    QStringList dialogs; // class names

  private:
    void Poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible() || handled_.contains(dialog))
            return;
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            boxes.push_back({box->text(), box->windowTitle(), box->icon(), box->standardButtons()});
            box->button(button) ? box->button(button)->click() : box->reject();
            return;
        }
        handled_.append(dialog);
        dialogs << dialog->metaObject()->className();
        QTimer::singleShot(0, dialog, [this, dialog] {
            if (onDialog) {
                dialog->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
                onDialog(dialog);
                acted_ = true;
            }
            if (dialog->isVisible())
                dialog->reject();
        });
    }

    QTimer timer_;
    bool acted_ = false;
    QList<QPointer<QDialog>> handled_;
};

// The named child, failing the test when there is none.
template <class Widget = QLineEdit> Widget* Child(const QObject* parent, const QString& name) {
    auto* child = parent->findChild<Widget*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
}

// The visible top-level window of that type (and name, when one is given), if any.
template <class Widget = QWidget> Widget* ShownWindow(const QString& name = {}) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* shown = qobject_cast<Widget*>(window);
            shown && shown->isVisible() && (name.isEmpty() || shown->objectName() == name))
            return shown;
    return nullptr;
}

// The message boxes `action` showed, each answered with `button`.
inline Boxes BoxesShownBy(QMessageBox::StandardButton button, const std::function<void()>& action) {
    const ModalAnswer answer(button);
    action();
    return answer.boxes;
}

} // namespace valdrex
