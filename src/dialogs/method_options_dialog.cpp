#include "dialogs/method_options_dialog.h"

#include "core/checked_math.h"
#include "core/number_text.h"
#include "dialogs/dialog_parts.h"

#include <QDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>

#include <algorithm>
#include <utility>
#include <vector>

namespace valdrex {
namespace {

// The accuracy spinner's range; the box also takes "0", which the spinner cannot show.
constexpr int kLowestDigit = 1;
constexpr int kHighestDigit = 8;

// The spinner runs over the negated digits so that its upper arrow raises the digit.
int DigitOf(int spinnerValue) {
    return -spinnerValue;
}
int SpinnerValueOf(int digit) {
    return -digit;
}

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class MethodOptionsDialog : public QDialog {
  public:
    MethodOptionsDialog(const OptionsForm& form, const MethodOptions& options, QWidget* parent);

    // Copies every box's text into the option it edits.
    void CopyTexts(MethodOptions& options) const;

  private:
    QWidget* WithSubscript(QLabel* caption, const OptionBox& box);
    QWidget* MakeBox(const OptionBox& box, const MethodOptions& options);
    QHBoxLayout* AccuracyRow(const OptionsForm& form, const MethodOptions& options);
    void ShowDigitOnSpinner(const QString& text);
    void ShowSpinnerInBox(int value);

    NumberBox* accuracyBox_ = nullptr;
    QScrollBar* spinner_ = nullptr;
    std::vector<std::pair<const OptionText*, QWidget*>> boxes_;
};

MethodOptionsDialog::MethodOptionsDialog(const OptionsForm& form, const MethodOptions& options,
                                         QWidget* parent)
    : QDialog(parent, kDialogFrame) {
    setObjectName(ToQString(form.objectName));
    setWindowTitle(ToQString(form.title));
    setWindowIcon(ProgramIcon());
    const bool hasAccuracy = !form.spinnerName.empty();
    if (hasAccuracy) {
        accuracyBox_ = new NumberBox(form.accuracy.option->rule, this);
        spinner_ = new QScrollBar(Qt::Vertical, this);
    }
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(ToQString(form.okName));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(ToQString(form.cancelName));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(
        PlainLabel(ToQString(form.explanationName), ToQString(form.explanation), this), 0, 0, 1, 2);
    // Without an accuracy column the boxes' captions and boxes share the dialog's own columns.
    QGridLayout* fields = layout;
    if (hasAccuracy) {
        layout->addLayout(AccuracyRow(form, options), 1, 0, Qt::AlignTop);
        fields = new QGridLayout;
        fields->setColumnStretch(1, 1);
        layout->addLayout(fields, 1, 1, Qt::AlignTop);
        layout->setHorizontalSpacing(24);
    }
    std::vector<QWidget*> tabOrder;
    if (hasAccuracy)
        tabOrder.push_back(accuracyBox_);
    std::vector<QWidget*> reachedLast;
    for (const OptionBox& box : form.boxes) {
        QLabel* caption = PlainLabel(ToQString(box.labelName), ToQString(box.caption), this);
        QWidget* shownCaption = box.subscript.empty() ? caption : WithSubscript(caption, box);
        QWidget* widget = MakeBox(box, options);
        caption->setBuddy(widget);
        const int row = fields->rowCount();
        fields->addWidget(shownCaption, row, 0);
        fields->addWidget(widget, row, 1);
        (box.reachedLast ? reachedLast : tabOrder).push_back(widget);
    }
    tabOrder.insert(tabOrder.end(), {ok, cancel});
    if (hasAccuracy)
        tabOrder.push_back(spinner_);
    tabOrder.insert(tabOrder.end(), reachedLast.begin(), reachedLast.end());
    SetTabOrder(tabOrder);
    tabOrder.front()->setFocus();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    layout->addLayout(buttons, layout->rowCount(), 0, 1, 2);
    layout->setVerticalSpacing(14);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// The caption followed by the box's subscript, smaller and set lower.
QWidget* MethodOptionsDialog::WithSubscript(QLabel* caption, const OptionBox& box) {
    QLabel* subscript = PlainLabel(ToQString(box.subscriptName), ToQString(box.subscript), this);
    QFont small = subscript->font();
    small.setPointSizeF(small.pointSizeF() * 0.7);
    subscript->setFont(small);
    subscript->setAlignment(Qt::AlignLeft | Qt::AlignBottom);

    auto* both = new QWidget(this);
    auto* row = new QHBoxLayout(both);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(caption, 0, Qt::AlignVCenter);
    row->addWidget(subscript, 0, Qt::AlignBottom);
    row->addStretch();
    return both;
}

QWidget* MethodOptionsDialog::MakeBox(const OptionBox& box, const MethodOptions& options) {
    const OptionText& option = *box.option;
    const QString text = ToQString(options.*option.field);
    QWidget* widget = nullptr;
    if (option.wholeUpTo > 0) {
        auto* spin = new QSpinBox(this);
        spin->setRange(1, option.wholeUpTo);
        spin->setValue(text.toInt());
        widget = spin;
    } else {
        auto* number = new NumberBox(option.rule, this);
        number->SetText(text);
        widget = number;
    }
    widget->setObjectName(ToQString(box.boxName));
    boxes_.emplace_back(&option, widget);
    return widget;
}

// The caption, then the box of one digit with the spinner against it.
QHBoxLayout* MethodOptionsDialog::AccuracyRow(const OptionsForm& form,
                                              const MethodOptions& options) {
    const OptionBox& box = form.accuracy;
    QLabel* caption = PlainLabel(ToQString(box.labelName), ToQString(box.caption), this);
    accuracyBox_->setObjectName(ToQString(box.boxName));
    accuracyBox_->SetText(ToQString(options.*box.option->field));
    boxes_.emplace_back(box.option, accuracyBox_);
    accuracyBox_->setMaxLength(1);
    accuracyBox_->setFixedWidth(QFontMetrics(accuracyBox_->font()).horizontalAdvance("888") + 16);
    spinner_->setObjectName(ToQString(form.spinnerName));
    spinner_->setRange(SpinnerValueOf(kHighestDigit), SpinnerValueOf(kLowestDigit));
    spinner_->setSingleStep(1);
    spinner_->setPageStep(1);
    spinner_->setFocusPolicy(Qt::StrongFocus);
    spinner_->setFixedSize(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, spinner_),
                           accuracyBox_->sizeHint().height());
    ShowDigitOnSpinner(accuracyBox_->text());
    connect(accuracyBox_, &QLineEdit::textChanged, this, &MethodOptionsDialog::ShowDigitOnSpinner);
    connect(spinner_, &QScrollBar::valueChanged, this, &MethodOptionsDialog::ShowSpinnerInBox);

    auto* row = new QHBoxLayout;
    row->addWidget(caption);
    row->setSpacing(6);
    auto* boxAndSpinner = new QHBoxLayout;
    boxAndSpinner->setSpacing(0);
    boxAndSpinner->addWidget(accuracyBox_);
    boxAndSpinner->addWidget(spinner_);
    row->addLayout(boxAndSpinner);
    return row;
}

void MethodOptionsDialog::ShowDigitOnSpinner(const QString& text) {
    if (text.isEmpty())
        return;
    // The box holds one character, so the number is a single digit at most.
    const int digit = RoundToInt32(TextToNumber(text.toStdString()));
    const int shown = std::clamp(digit, kLowestDigit, kHighestDigit);
    if (shown == digit) {
        spinner_->setValue(SpinnerValueOf(digit));
        return;
    }
    // A digit outside the spinner's range (the accepted "0") stays in the box as typed.
    const QSignalBlocker quiet(spinner_);
    spinner_->setValue(SpinnerValueOf(shown));
}

void MethodOptionsDialog::ShowSpinnerInBox(int value) {
    const QString digit = QString::number(DigitOf(value));
    if (accuracyBox_->text() != digit)
        accuracyBox_->SetText(digit);
}

void MethodOptionsDialog::CopyTexts(MethodOptions& options) const {
    for (const auto& [option, widget] : boxes_) {
        if (const auto* spin = qobject_cast<const QSpinBox*>(widget))
            options.*option->field = std::to_string(spin->value());
        else
            options.*option->field = BoxText(static_cast<const QLineEdit*>(widget));
    }
}

} // namespace

bool ShowMethodOptions(const MethodRow& row, MethodOptions& options, QWidget* parent) {
    if (row.optionsForm == nullptr)
        return true;
    const OptionsForm& form = *row.optionsForm;
    const MethodOptions defaults;
    options.OptionsConfirmed = false;
    if (!form.spinnerName.empty())
        options.*form.accuracy.option->field = defaults.*form.accuracy.option->field;
    for (const OptionBox& box : form.boxes)
        options.*box.option->field = defaults.*box.option->field;

    MethodOptionsDialog dialog(form, options, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.CopyTexts(options);
    options.OptionsConfirmed = true;
    return true;
}

} // namespace valdrex
