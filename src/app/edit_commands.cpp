#include "app/edit_commands.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace valdrex {

bool IsTextBox(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(widget) != nullptr;
}

bool HasSelectedText(const QWidget* box) {
    if (const auto* line = qobject_cast<const QLineEdit*>(box))
        return line->hasSelectedText();
    if (const auto* note = qobject_cast<const QPlainTextEdit*>(box))
        return note->textCursor().hasSelection();
    if (const auto* list = qobject_cast<const QListWidget*>(box))
        return !list->selectedItems().isEmpty();
    return false;
}

QString SelectedText(const QWidget* box) {
    if (const auto* line = qobject_cast<const QLineEdit*>(box))
        return line->selectedText();
    if (const auto* note = qobject_cast<const QPlainTextEdit*>(box)) {
        QString text = note->textCursor().selectedText();
        text.replace(QChar::ParagraphSeparator, u'\n');
        text.replace(QChar::LineSeparator, u'\n');
        return text;
    }
    if (const auto* list = qobject_cast<const QListWidget*>(box)) {
        QStringList lines; // in the list's order, not the order they were picked in
        for (int row = 0; row < list->count(); ++row)
            if (list->item(row)->isSelected())
                lines << list->item(row)->text();
        return lines.join(u'\n');
    }
    return {};
}

void ReplaceSelectedText(QWidget* box, const QString& text) {
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        const int start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
        const int length = line->hasSelectedText() ? line->selectionLength() : 0;
        QString whole = line->text();
        whole.replace(start, length, text);
        line->setText(whole);
        line->setCursorPosition(start + static_cast<int>(text.size()));
    } else if (auto* note = qobject_cast<QPlainTextEdit*>(box)) {
        QTextCursor cursor = note->textCursor();
        cursor.insertText(text);
        note->setTextCursor(cursor);
    }
}

EditMenuState EditMenuEnabling(const QWidget* active, const QWidget* factorBox,
                               const QString& clipboardText) {
    EditMenuState menu;
    if (qobject_cast<const QListWidget*>(active) != nullptr) {
        menu.copySelection = HasSelectedText(active);
        return menu;
    }
    if (!IsTextBox(active))
        return menu;
    menu.cut = menu.copySelection = HasSelectedText(active);
    menu.paste = !clipboardText.isEmpty() && active != factorBox;
    return menu;
}

PasteTarget PasteTargetOf(const QWidget* box) {
    const QString name = box->objectName();
    // The equation line takes any text, as the annotations do.
    if (name == QLatin1String("txtNote") || name == QLatin1String("txtEquationLine"))
        return PasteTarget::Note;
    if (name == QLatin1String("txtInput"))
        return PasteTarget::Input;
    return PasteTarget::Coefficient;
}

} // namespace valdrex
