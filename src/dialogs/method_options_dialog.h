#pragma once

#include "dialogs/number_box.h"

#include <QDialog>

#include <initializer_list>
#include <string>

class QGridLayout;
class QLabel;
class QPushButton;
class QScrollBar;

namespace valdrex {

// Object names of the controls that every method-options dialog has.
struct MethodDialogNames {
    const char* form;
    const char* explanation;
    const char* accuracyLabel;
    const char* accuracyBox;
    const char* spinner;
    const char* ok;
    const char* cancel;
};

// The pattern shared by the method-options dialogs: an explanation at the top, the accuracy
// box with its spinner on the left, the method's labelled boxes on the right, OK (default) and
// Cancel (Esc) at the bottom. The accuracy box holds one digit from "0" to "8"; the spinner
// runs from 1 to 8 and the two follow each other.
class MethodOptionsDialog : public QDialog {
  public:
    MethodOptionsDialog(const MethodDialogNames& names, const QString& title,
                        const QString& explanation, const std::string& accuracyText,
                        QWidget* parent);

    NumberBox* accuracyBox() const { return accuracyBox_; }
    QScrollBar* spinner() const { return spinner_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    // A signed-decimal box holding `text`, placed in the next row on the right after `label`.
    NumberBox* AddField(QWidget* label, const char* boxName, const std::string& text);
    // A plain caption for a field.
    QLabel* MakeLabel(const char* name, const QString& caption);

    // Shows the dialog modally; true when it was closed with OK.
    bool Run();

  private:
    void ShowDigitOnSpinner(const QString& text);
    void ShowSpinnerInBox(int value);

    NumberBox* accuracyBox_;
    QScrollBar* spinner_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QGridLayout* fields_;
};

// Chains the tab order through `widgets` in the order given.
void SetTabOrder(std::initializer_list<QWidget*> widgets);

// The text of a box as the options keep it.
std::string BoxText(const QLineEdit* box);

} // namespace valdrex
