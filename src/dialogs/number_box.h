#pragma once

#include "core/coefficient_text.h"

#include <QLineEdit>

namespace valdrex {

// A one-line number box. Typed characters go through the numeric-entry key rule of its
// variant; keys that type nothing (arrows, Home, Delete, Tab, Enter) pass untouched. Entering
// the box selects from the caret to the end of the text.
class NumberBox : public QLineEdit {
  public:
    explicit NumberBox(KeyRule rule, QWidget* parent = nullptr);

    // Sets the text as the program does, caret at the start, so that entering the box selects
    // the whole text and the first key replaces it.
    void SetText(const QString& text);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    int CaretPosition() const;

    KeyRule rule_;
};

} // namespace valdrex
