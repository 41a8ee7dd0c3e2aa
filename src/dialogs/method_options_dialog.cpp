#include "dialogs/method_options_dialog.h"

#include "core/checked_math.h"
#include "core/number_text.h"
#include "dialogs/dialog_frame.h"
#include "dialogs/program_icon.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>

namespace valdrex {
namespace {

constexpr int kLowestDigit = 1;
constexpr int kHighestDigit = 8;

// The spinner runs over the negated digits so that its upper arrow raises the digit.
int DigitOf(int spinnerValue) {
    return -spinnerValue;
}
int SpinnerValueOf(int digit) {
    return -digit;
}

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

MethodOptionsDialog::MethodOptionsDialog(const MethodDialogNames& names, const QString& title,
                                         const QString& explanation,
                                         const std::string& accuracyText, QWidget* parent)
    : QDialog(parent, kDialogFrame), accuracyBox_(new NumberBox(KeyRule::AccuracyDigit, this)),
      spinner_(new QScrollBar(Qt::Vertical, this)),
      ok_(new QPushButton(QStringLiteral("&OK"), this)),
      cancel_(new QPushButton(QStringLiteral("&Cancel"), this)), fields_(new QGridLayout) {
    setObjectName(names.form);
    setWindowTitle(title);
    setWindowIcon(ProgramIcon());

    auto* explanationLabel = new QLabel(explanation, this);
    explanationLabel->setObjectName(names.explanation);
    explanationLabel->setTextFormat(Qt::PlainText);

    QLabel* accuracyLabel = MakeLabel(names.accuracyLabel, QStringLiteral("Accuracy"));
    accuracyBox_->setObjectName(names.accuracyBox);
    accuracyBox_->setMaxLength(1);
    accuracyBox_->setFixedWidth(QFontMetrics(accuracyBox_->font()).horizontalAdvance("888") + 16);
    spinner_->setObjectName(names.spinner);
    spinner_->setRange(SpinnerValueOf(kHighestDigit), SpinnerValueOf(kLowestDigit));
    spinner_->setSingleStep(1);
    spinner_->setPageStep(1);
    spinner_->setFocusPolicy(Qt::StrongFocus);
    spinner_->setFixedSize(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, spinner_),
                           accuracyBox_->sizeHint().height());
    connect(accuracyBox_, &QLineEdit::textChanged, this, &MethodOptionsDialog::ShowDigitOnSpinner);
    connect(spinner_, &QScrollBar::valueChanged, this, &MethodOptionsDialog::ShowSpinnerInBox);
    accuracyBox_->SetText(ToQString(accuracyText));

    auto* accuracyRow = new QHBoxLayout;
    accuracyRow->addWidget(accuracyLabel);
    accuracyRow->setSpacing(6);
    auto* boxAndSpinner = new QHBoxLayout;
    boxAndSpinner->setSpacing(0);
    boxAndSpinner->addWidget(accuracyBox_);
    boxAndSpinner->addWidget(spinner_);
    accuracyRow->addLayout(boxAndSpinner);

    ok_->setObjectName(names.ok);
    ok_->setDefault(true);
    cancel_->setObjectName(names.cancel);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addStretch();

    fields_->setColumnStretch(1, 1);
    auto* layout = new QGridLayout(this);
    layout->addWidget(explanationLabel, 0, 0, 1, 2);
    layout->addLayout(accuracyRow, 1, 0, Qt::AlignTop);
    layout->addLayout(fields_, 1, 1, Qt::AlignTop);
    layout->addLayout(buttons, 2, 0, 1, 2);
    layout->setHorizontalSpacing(24);
    layout->setVerticalSpacing(14);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QLabel* MethodOptionsDialog::MakeLabel(const char* name, const QString& caption) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

NumberBox* MethodOptionsDialog::AddField(QWidget* label, const char* boxName,
                                         const std::string& text) {
    auto* box = new NumberBox(KeyRule::SignedDecimal, this);
    box->setObjectName(boxName);
    box->SetText(ToQString(text));
    const int row = fields_->rowCount();
    fields_->addWidget(label, row, 0);
    fields_->addWidget(box, row, 1);
    return box;
}

bool MethodOptionsDialog::Run() {
    return exec() == QDialog::Accepted;
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

void SetTabOrder(std::initializer_list<QWidget*> widgets) {
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
