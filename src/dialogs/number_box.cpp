#include "dialogs/number_box.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <optional>

namespace valdrex {
namespace {

// The character a key press types, or nothing for navigation, editing and Ctrl keys.
std::optional<char32_t> TypedCharacter(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Backspace)
        return kBackspace;
    const QList<uint> codes = event.text().toUcs4();
    if (codes.size() != 1 || codes.front() < 0x20 || codes.front() == 0x7F)
        return std::nullopt;
    return static_cast<char32_t>(codes.front());
}

// The focus moves to another window or a menu and back without the box being left.
bool IsWindowSwitch(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
           reason == Qt::MenuBarFocusReason;
}

} // namespace

NumberBox::NumberBox(KeyRule rule, QWidget* parent) : QLineEdit(parent), rule_(rule) {
    // Composed input would get past the key rule.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void NumberBox::SetText(const QString& text) {
    setText(text);
    setCursorPosition(0);
}

int NumberBox::caret() const {
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void NumberBox::keyPressEvent(QKeyEvent* event) {
    const std::optional<char32_t> key = TypedCharacter(*event);
    if (key && !FilterNumericKey(rule_, *key, text().toStdString(), caret())) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NumberBox::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    // The historic boxes kept the caret where a click put it, so a click into a fresh box and
    // "1" gave "10": a lone 0 is a placeholder, and a click selects it as entering by Tab does.
    if (event->button() == Qt::LeftButton && text() == QLatin1String("0"))
        selectAll();
}

void NumberBox::focusInEvent(QFocusEvent* event) {
    // Taken before the toolkit's own select-all on Tab can move it.
    const int start = caret();
    QLineEdit::focusInEvent(event);
    // Coming back from a message box or a menu is no new visit; the window's first
    // activation is one.
    const bool returning = IsWindowSwitch(event->reason()) && leftForAnotherWindow_;
    if (selectToEndOnFocus_ && !returning)
        setSelection(start, static_cast<int>(text().size()) - start);
}

void NumberBox::focusOutEvent(QFocusEvent* event) {
    leftForAnotherWindow_ = IsWindowSwitch(event->reason());
    const int start = caret();
    QLineEdit::focusOutEvent(event);
    // The toolkit drops the selection on leaving; keep its start as the caret for the return.
    if (selectToEndOnFocus_ && !hasSelectedText() && cursorPosition() != start)
        setCursorPosition(start);
}

} // namespace valdrex
