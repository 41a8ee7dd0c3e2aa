#include "dialogs/method_dialogs.h"
#include "dialogs/method_options_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

namespace valdrex {

void ShowBisectionOptions(MethodOptions& options, QWidget* parent) {
    const MethodOptions defaults;
    options.OptionsConfirmed = false;
    options.AccuracyText = defaults.AccuracyText;
    options.BisectionMinText = defaults.BisectionMinText;
    options.BisectionMaxText = defaults.BisectionMaxText;
    options.BisectionIncText = defaults.BisectionIncText;

    MethodOptionsDialog dialog(
        {"frmDicOpt", "lblDicTh", "lblDic_0", "txtDicAc", "vscDic", "cmdDicOK", "cmdDicCancel"},
        QStringLiteral("Dicotomic method"),
        QStringLiteral("You should define the calculus accuracy\n"
                       "and the interval in which to search\n"
                       "the solutions"),
        options.AccuracyText, parent);
    // The increment stands above the interval but is reached last with Tab.
    NumberBox* increment =
        dialog.AddField(dialog.MakeLabel("lblDic_3", QStringLiteral("Increment")), "txtDicInc",
                        options.BisectionIncText);
    NumberBox* min = dialog.AddField(dialog.MakeLabel("lblDic_1", QStringLiteral("Min")),
                                     "txtDicMin", options.BisectionMinText);
    NumberBox* max = dialog.AddField(dialog.MakeLabel("lblDic_2", QStringLiteral("Max")),
                                     "txtDicMax", options.BisectionMaxText);
    SetTabOrder({dialog.accuracyBox(), min, max, dialog.okButton(), dialog.cancelButton(),
                 dialog.spinner(), increment});

    if (!dialog.Run())
        return;
    options.AccuracyText = BoxText(dialog.accuracyBox());
    options.BisectionMinText = BoxText(min);
    options.BisectionMaxText = BoxText(max);
    options.BisectionIncText = BoxText(increment);
    options.OptionsConfirmed = true;
}

} // namespace valdrex
