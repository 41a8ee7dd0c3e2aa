#include "dialogs/method_dialogs.h"
#include "dialogs/method_options_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

namespace valdrex {
namespace {

// "X" with a smaller "0" set lower, read as X with the subscript 0.
QWidget* StartPointLabel(MethodOptionsDialog& dialog) {
    QLabel* x = dialog.MakeLabel("lblNt_1", QStringLiteral("X"));
    QLabel* zero = dialog.MakeLabel("lblNt_2", QStringLiteral("0"));
    QFont small = zero->font();
    small.setPointSizeF(small.pointSizeF() * 0.7);
    zero->setFont(small);
    zero->setAlignment(Qt::AlignLeft | Qt::AlignBottom);

    auto* label = new QWidget(&dialog);
    auto* row = new QHBoxLayout(label);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(x, 0, Qt::AlignVCenter);
    row->addWidget(zero, 0, Qt::AlignBottom);
    row->addStretch();
    return label;
}

} // namespace

void ShowNewtonOptions(MethodOptions& options, QWidget* parent) {
    const MethodOptions defaults;
    options.OptionsConfirmed = false;
    options.AccuracyText = defaults.AccuracyText;
    options.NewtonX0Text = defaults.NewtonX0Text;

    MethodOptionsDialog dialog(
        {"frmNtOpt", "lblNtTh", "lblNt_0", "txtNtAc", "vscNt", "cmdNtOK", "cmdNtCancel"},
        QStringLiteral("Newton method"),
        QStringLiteral("You should define the calculus accuracy\n"
                       "and a point X0"),
        options.AccuracyText, parent);
    NumberBox* x0 = dialog.AddField(StartPointLabel(dialog), "txtNtX0", options.NewtonX0Text);
    SetTabOrder(
        {dialog.accuracyBox(), x0, dialog.okButton(), dialog.cancelButton(), dialog.spinner()});

    if (!dialog.Run())
        return;
    options.AccuracyText = BoxText(dialog.accuracyBox());
    options.NewtonX0Text = BoxText(x0);
    options.OptionsConfirmed = true;
}

} // namespace valdrex
