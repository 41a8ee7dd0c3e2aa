#include "dialogs/about_window.h"

#include "core/failure.h"
#include "core/platform_files.h"
#include "dialogs/dialog_frame.h"
#include "dialogs/display_text.h"
#include "dialogs/program_files.h"
#include "dialogs/program_icon.h"
#include "dialogs/readme_text.h"
#include "dialogs/title_font.h"

#include <QDialog>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

namespace valdrex {
namespace {

// The rule across the window: 4800 twips below the top, 7140 twips long (15 twips a pixel).
constexpr int kRuleTop = 320;
constexpr int kRuleLength = 476;

class AboutWindow : public QDialog {
  public:
    AboutWindow(const ModuleState& state, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

QLabel* MakeLabel(const char* name, const QString& text, const QRect& place, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(place);
    return label;
}

AboutWindow::AboutWindow(const ModuleState& state, QWidget* parent)
    : QDialog(parent, kDialogFrame) {
    const QString title = QString::fromUtf8(kAppTitle);
    setObjectName("frmInfo");
    setWindowTitle(QStringLiteral("About ") + title);
    setWindowIcon(ProgramIcon());
    setFixedSize(kRuleLength, 372);

    auto* logo = new QLabel(this);
    logo->setObjectName("imgLogo");
    logo->setPixmap(ProgramIcon().pixmap(48, 48));
    logo->setGeometry(16, 16, 48, 48);
    QLabel* heading = MakeLabel("Label3", title, QRect(80, 8, 380, 48), this);
    heading->setFont(TitleFont());
    MakeLabel("Label4", DisplayText(state.VersionText), QRect(80, 58, 380, 20), this);
    QLabel* credits =
        MakeLabel("Label2", DisplayText(state.CommentText), QRect(80, 80, 380, 76), this);
    credits->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* info = new QPlainTextEdit(this);
    info->setObjectName("txtInfo");
    info->setReadOnly(true);
    info->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    info->setPlainText(DisplayText(ReadReadmeFile(ReadmeFilePath(ProgramDataFolder()))));
    info->setGeometry(16, 164, kRuleLength - 32, 144);

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName("Command1");
    ok->setDefault(true);
    ok->setGeometry((kRuleLength - 96) / 2, kRuleTop + 14, 96, 28);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ok->setFocus();
}

void AboutWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawLine(0, kRuleTop, kRuleLength, kRuleTop);
}

} // namespace

void ShowAbout(const ModuleState& state, QWidget* parent) {
    AboutWindow window(state, parent);
    window.exec();
}

} // namespace valdrex
