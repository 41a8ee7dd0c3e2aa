#pragma once

#include "core/coefficient_text.h"

#include <QLineEdit>

namespace valdrex {

// A number box: every typed character passes the numeric-entry key rule before the box sees
// it; navigation and editing keys other than Backspace pass untouched. Texts set by the
// program or pasted by the toolkit are not filtered.
class NumericLineEdit : public QLineEdit {
    Q_OBJECT

  public:
    explicit NumericLineEdit(KeyRule rule, QWidget* parent = nullptr);

    // On gaining the focus, select from the selection start to the end of the text, so that
    // with the caret at the start the first typed key replaces the whole text.
    void setSelectToEndOnFocus(bool on) { selectToEndOnFocus_ = on; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    // The selection start, or the cursor position when nothing is selected.
    int caret() const;

    KeyRule rule_;
    bool selectToEndOnFocus_ = false;
    bool leftForAnotherWindow_ = false;
};

} // namespace valdrex
