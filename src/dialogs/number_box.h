#pragma once

#include "core/coefficient_text.h"

#include <QLineEdit>

namespace valdrex {

// A one-line number box, in the main window and in every dialog. Typed characters go through
// the numeric-entry key rule of its variant; keys that type nothing (arrows, Home, Delete, Tab,
// Enter, Ctrl keys) pass untouched. Texts set by the program or pasted by the toolkit are not
// filtered.
class NumberBox : public QLineEdit {
    Q_OBJECT

  public:
    explicit NumberBox(KeyRule rule, QWidget* parent = nullptr);

    // Entering the box selects from the caret to the end of the text, so that with the caret at
    // the start the first typed key replaces the whole text. On unless turned off.
    void setSelectToEndOnFocus(bool on) { selectToEndOnFocus_ = on; }

    // Sets the text as the program does, caret at the start, so that entering the box selects
    // the whole text.
    void SetText(const QString& text);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    // The selection start, or the cursor position when nothing is selected.
    int caret() const;

    KeyRule rule_;
    bool selectToEndOnFocus_ = true;
    bool leftForAnotherWindow_ = false;
};

} // namespace valdrex
