#include "modal_answer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

namespace valdrex {

struct MessageBoxAnswerState {
    QMessageBox::StandardButton button = QMessageBox::Ok;
    bool waiting = true;
    bool shown = false;
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

namespace {

constexpr int kPollMilliseconds = 5;

// Looks for the box whenever the event loop runs (inside the box's own exec), until it is
// answered or the answer is given up.
void Poll(const std::shared_ptr<MessageBoxAnswerState>& state) {
    if (!state->waiting)
        return;
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
        QTimer::singleShot(kPollMilliseconds, [state] { Poll(state); });
        return;
    }
    state->waiting = false;
    state->shown = true;
    state->text = box->text();
    state->title = box->windowTitle();
    state->icon = box->icon();
    box->button(state->button)->click();
}

} // namespace

MessageBoxAnswer::MessageBoxAnswer(QMessageBox::StandardButton button)
    : state_(std::make_shared<MessageBoxAnswerState>()) {
    state_->button = button;
    Poll(state_);
}

MessageBoxAnswer::~MessageBoxAnswer() {
    state_->waiting = false;
}

bool MessageBoxAnswer::shown() const {
    return state_->shown;
}
QString MessageBoxAnswer::text() const {
    return state_->text;
}
QString MessageBoxAnswer::title() const {
    return state_->title;
}
QMessageBox::Icon MessageBoxAnswer::icon() const {
    return state_->icon;
}

} // namespace valdrex
