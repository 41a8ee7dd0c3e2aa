#pragma once

#include <QMessageBox>
#include <QString>

#include <memory>

namespace valdrex {

struct MessageBoxAnswerState;

// Answers the next message box that opens modally by pressing `button`, and keeps what the
// box showed. Keep it alive across the action that may open the box; it stops on destruction.
class MessageBoxAnswer {
  public:
    explicit MessageBoxAnswer(QMessageBox::StandardButton button);
    ~MessageBoxAnswer();
    MessageBoxAnswer(const MessageBoxAnswer&) = delete;
    MessageBoxAnswer& operator=(const MessageBoxAnswer&) = delete;

    bool shown() const;
    QString text() const;
    QString title() const;
    QMessageBox::Icon icon() const;

  private:
    std::shared_ptr<MessageBoxAnswerState> state_;
};

} // namespace valdrex
