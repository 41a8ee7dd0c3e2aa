#pragma once

#include "core/coefficient_text.h"

#include <QLineEdit>

#include <string>
#include <vector>

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

// Chains the tab order through `widgets` in the order given.
void SetTabOrder(const std::vector<QWidget*>& widgets);

// The text of a box as the options keep it.
std::string BoxText(const QLineEdit* box);

} // namespace valdrex
