#include "dialogs/method_dialogs.h"
#include "dialogs/method_options_dialog.h"
#include "dialogs/program_icon.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace valdrex {

void ShowAllRootsOptions(MethodOptions& options, QWidget* parent) {
    const MethodOptions defaults;
    options.OptionsConfirmed = false;
    options.DigitsText = defaults.DigitsText;

    QDialog dialog(parent);
    dialog.setObjectName("frmArOpt");
    dialog.setWindowTitle(QStringLiteral("All roots"));
    dialog.setWindowIcon(ProgramIcon());

    auto* explanation = new QLabel(QStringLiteral("You should define how many significant\n"
                                                  "digits the roots are shown with"),
                                   &dialog);
    explanation->setObjectName("lblArTh");
    explanation->setTextFormat(Qt::PlainText);
    auto* digits = new QSpinBox(&dialog);
    digits->setObjectName("spnArDigits");
    digits->setRange(1, 30);
    digits->setValue(QString::fromStdString(options.DigitsText).toInt());
    auto* label = new QLabel(QStringLiteral("&Digits"), &dialog);
    label->setObjectName("lblAr_0");
    label->setBuddy(digits);

    auto* ok = new QPushButton(QStringLiteral("&OK"), &dialog);
    ok->setObjectName("cmdArOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), &dialog);
    cancel->setObjectName("cmdArCancel");
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QGridLayout(&dialog);
    layout->addWidget(explanation, 0, 0, 1, 2);
    layout->addWidget(label, 1, 0);
    layout->addWidget(digits, 1, 1);
    layout->addLayout(buttons, 2, 0, 1, 2);
    layout->setVerticalSpacing(14);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    SetTabOrder({digits, ok, cancel});
    digits->setFocus();

    if (dialog.exec() != QDialog::Accepted)
        return;
    options.DigitsText = std::to_string(digits->value());
    options.OptionsConfirmed = true;
}

} // namespace valdrex
