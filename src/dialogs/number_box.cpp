#include "dialogs/number_box.h"

#include <QKeyEvent>

#include <optional>

namespace valdrex {
namespace {

// The character a key press types, if it types one.
std::optional<char32_t> TypedCharacter(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Backspace)
        return kBackspace;
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    const QList<uint> text = event.text().toUcs4();
    if (text.isEmpty() || text.front() < 0x20 || text.front() == 0x7F)
        return std::nullopt;
    return static_cast<char32_t>(text.front());
}

} // namespace

NumberBox::NumberBox(KeyRule rule, QWidget* parent) : QLineEdit(parent), rule_(rule) {}

void NumberBox::SetText(const QString& text) {
    setText(text);
    setCursorPosition(0);
}

int NumberBox::CaretPosition() const {
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void NumberBox::keyPressEvent(QKeyEvent* event) {
    if (const std::optional<char32_t> key = TypedCharacter(*event)) {
        if (!FilterNumericKey(rule_, *key, text().toStdString(), CaretPosition())) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void NumberBox::focusInEvent(QFocusEvent* event) {
    const int start = CaretPosition();
    // The toolkit selects everything on Tab; the rule keeps the selection start instead.
    QLineEdit::focusInEvent(event);
    setSelection(start, static_cast<int>(text().size()) - start);
}

void SetTabOrder(const std::vector<QWidget*>& widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

std::string BoxText(const QLineEdit* box) {
    return box->text().toStdString();
}

} // namespace valdrex
