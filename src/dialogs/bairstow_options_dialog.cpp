#include "dialogs/method_dialogs.h"
#include "dialogs/method_options_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

namespace valdrex {

void ShowBairstowOptions(MethodOptions& options, QWidget* parent) {
    const MethodOptions defaults;
    options.OptionsConfirmed = false;
    options.AccuracyText = defaults.AccuracyText;
    options.BairstowPText = defaults.BairstowPText;
    options.BairstowQText = defaults.BairstowQText;

    MethodOptionsDialog dialog(
        {"frmBwOpt", "lblBwTh", "lblBw_0", "txtBwAc", "vscBw", "cmdBwOK", "cmdBWCancel"},
        QStringLiteral("Baristow method"),
        QStringLiteral("You should define the calculus accuracy\n"
                       "and two parameters P,Q so that: \n"
                       "F(X) = G(X) * (X ^ 2 + PX + Q) + R"),
        options.AccuracyText, parent);
    NumberBox* p = dialog.AddField(dialog.MakeLabel("lblBw_1", QStringLiteral("Coef. P")),
                                   "txtBwCfP", options.BairstowPText);
    NumberBox* q = dialog.AddField(dialog.MakeLabel("lblBw_2", QStringLiteral("Coef. Q")),
                                   "txtBwCfQ", options.BairstowQText);
    SetTabOrder(
        {dialog.accuracyBox(), p, q, dialog.okButton(), dialog.cancelButton(), dialog.spinner()});

    if (!dialog.Run())
        return;
    options.AccuracyText = BoxText(dialog.accuracyBox());
    options.BairstowPText = BoxText(p);
    options.BairstowQText = BoxText(q);
    options.OptionsConfirmed = true;
}

} // namespace valdrex
