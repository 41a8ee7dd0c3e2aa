#pragma once

#include "core/coefficient_text.h"

#include <QString>

class QWidget;

namespace valdrex {

// The Edit menu works on the window's active control when it is a text box: a single-line
// box or the multi-line annotation box. From the solution list it copies the selected lines.
bool IsTextBox(const QWidget* widget);
bool HasSelectedText(const QWidget* box);
// The selection; the annotation box's paragraph breaks and the breaks between the list's
// selected lines are line feeds.
QString SelectedText(const QWidget* box);
// Puts `text` in place of the selection (at the caret when nothing is selected) and leaves the
// caret after it. Works on read-only boxes too, as a program may write them.
void ReplaceSelectedText(QWidget* box, const QString& text);

struct EditMenuState {
    bool cut = false;
    bool copySelection = false;
    bool paste = false;
};

// Which items act, from the active control and the clipboard's text. `factorBox` never takes
// a paste.
EditMenuState EditMenuEnabling(const QWidget* active, const QWidget* factorBox,
                               const QString& clipboardText);

// The paste rules a box follows, told apart by its name.
PasteTarget PasteTargetOf(const QWidget* box);

} // namespace valdrex
