#include "dialogs/welcome_window.h"

#include "core/failure.h"
#include "dialogs/dialog_frame.h"
#include "dialogs/display_text.h"
#include "dialogs/program_icon.h"
#include "dialogs/title_font.h"
#include "dialogs/version_text.h"
#include "model/startup_settings.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace valdrex {
namespace {

QLabel* MakeLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// Returns whether the window was closed with OK.
bool ShowWelcomeWindow(const ModuleState& state) {
    QDialog window(nullptr, kDialogFrame);
    window.setObjectName("frmSplash");
    // The design title is empty: a blank and the application's title follow it.
    window.setWindowTitle(QStringLiteral(" ") + QString::fromUtf8(kAppTitle));

    auto* logo = new QLabel(&window);
    logo->setObjectName("imgLogo");
    logo->setPixmap(ProgramIcon().pixmap(64, 64));
    logo->setAlignment(Qt::AlignTop);
    QLabel* title = MakeLabel("lblTitle", QString::fromUtf8(kAppTitle), &window);
    title->setFont(TitleFont());
    QLabel* version = MakeLabel("lblVersion", DisplayText(state.VersionText), &window);
    QLabel* comment = MakeLabel("lblComment", DisplayText(state.CommentText), &window);

    auto* frame = new QGroupBox(&window);
    frame->setObjectName("Frame1");
    auto* ok = new QPushButton(QStringLiteral("&OK"), frame);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &window, &QDialog::accept);
    auto* centred = new QHBoxLayout(frame);
    centred->addStretch();
    centred->addWidget(ok);
    centred->addStretch();

    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(version);
    texts->addSpacing(8);
    texts->addWidget(comment);
    auto* top = new QHBoxLayout;
    top->addWidget(logo);
    top->addSpacing(16);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(&window);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addWidget(frame);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    return window.exec() == QDialog::Accepted;
}

} // namespace

bool RunWelcome(ModuleState& state, const SettingsStore& store) {
    // Every window of the program shows its icon from here on.
    QApplication::setWindowIcon(ProgramIcon());
    state.VersionText = ProgramVersionText();
    state.CommentText = CommentText();
    state.ShowWelcome = ReadShowWelcome(store);
    if (!state.ShowWelcome)
        return true;
    return ShowWelcomeWindow(state);
}

} // namespace valdrex
