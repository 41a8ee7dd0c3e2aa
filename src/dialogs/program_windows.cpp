#include "dialogs/program_windows.h"

#include "core/platform_files.h"
#include "dialogs/dialog_parts.h"
#include "model/startup_settings.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace valdrex {
namespace {

constexpr char kComments[] = "A very easy way to solve algebraic equations";
constexpr char kLegalNotice[] = "Copyright (C) 2026 The Valdrex developers";
constexpr char kLineEnd[] = "\r\n";

// A text of the program (UTF-8, lines ending with CR LF) as a widget shows it: one line
// break per CR LF.
QString DisplayText(std::string_view text) {
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

// The large serif, bold, italic font of the program's title in the welcome and About windows.
QFont TitleFont() {
    QFont font;
    // The first family that is installed wins; every one of them is a Times-like serif.
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                      QStringLiteral("Nimbus Roman"), QStringLiteral("DejaVu Serif"),
                      QStringLiteral("serif")});
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(24.75);
    font.setBold(true);
    font.setItalic(true);
    return font;
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
    QLabel* title = PlainLabel("lblTitle", QString::fromUtf8(kAppTitle), &window);
    title->setFont(TitleFont());
    QLabel* version = PlainLabel("lblVersion", DisplayText(state.VersionText), &window);
    QLabel* comment = PlainLabel("lblComment", DisplayText(state.CommentText), &window);

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

// The rule across the About window: 4800 twips below the top, 7140 twips long (15 twips a
// pixel).
constexpr int kRuleTop = 320;
constexpr int kRuleLength = 476;

class AboutWindow : public QDialog {
  public:
    AboutWindow(const ModuleState& state, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

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
    QLabel* heading = PlainLabel("Label3", title, this);
    heading->setGeometry(80, 8, 380, 48);
    heading->setFont(TitleFont());
    PlainLabel("Label4", DisplayText(state.VersionText), this)->setGeometry(80, 58, 380, 20);
    QLabel* credits = PlainLabel("Label2", DisplayText(state.CommentText), this);
    credits->setGeometry(80, 80, 380, 76);
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

class HelpWindow : public QWidget {
  public:
    explicit HelpWindow(QWidget* parent);
    void OpenContents(const std::string& path);

  private:
    QTextBrowser* browser_;
};

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
    setObjectName("frmHelp");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(kAppTitle) + QStringLiteral(" Help"));
    setWindowIcon(ProgramIcon());
    browser_->setObjectName("txtHelp");

    auto* contents = new QPushButton(QStringLiteral("C&ontents"), this);
    contents->setObjectName("cmdContents");
    connect(contents, &QPushButton::clicked, browser_, &QTextBrowser::home);
    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    back->setObjectName("cmdBack");
    back->setEnabled(false);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    resize(640, 560);
}

void HelpWindow::OpenContents(const std::string& path) {
    browser_->clearHistory();
    QUrl contents = QUrl::fromLocalFile(QString::fromStdString(path));
    contents.setFragment(QStringLiteral("contents"));
    // The file's extension does not say that it is HTML.
    browser_->setSource(contents, QTextDocument::HtmlResource);
}

// The help window while it is open; closing it deletes it.
QPointer<HelpWindow>& OpenHelpWindow() {
    static QPointer<HelpWindow> window;
    return window;
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

void ShowAbout(const ModuleState& state, QWidget* parent) {
    AboutWindow window(state, parent);
    window.exec();
}

std::optional<ErrorBox> ShowHelp(QWidget* parent) {
    return ShowHelpFile(HelpFilePath(ProgramDataFolder()), parent);
}

std::optional<ErrorBox> ShowHelpFile(const std::string& path, QWidget* parent) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return HelpErrorBox(FileFailure(errno));
    std::fclose(file);

    QPointer<HelpWindow>& window = OpenHelpWindow();
    if (!window) {
        static std::optional<QRect> lastPlace;
        window = new HelpWindow(parent);
        PlaceSecondaryWindow(window, parent, lastPlace);
    }
    window->OpenContents(path);
    window->show();
    window->raise();
    window->activateWindow();
    return std::nullopt;
}

std::string VersionText(int major, int minor, int revision) {
    return "Version " + std::to_string(major) + "." + std::to_string(minor) +
           std::to_string(revision) + " for Win-32 systems";
}

std::string CommentText() {
    return std::string(kComments) + kLineEnd + kLineEnd + "Realized by " + kLineEnd + kLegalNotice;
}

std::string ProgramVersionText() {
    return VersionText(VALDREX_VERSION_MAJOR, VALDREX_VERSION_MINOR, VALDREX_VERSION_PATCH);
}

std::string ReadmeText(std::string_view contents) {
    std::string text;
    std::size_t i = 0;
    while (i < contents.size()) {
        const std::size_t end = contents.find_first_of("\r\n", i);
        if (i > 0) // every line after the first follows a line end
            text += "\r\n";
        if (end == std::string_view::npos) {
            text += contents.substr(i);
            break;
        }
        text += contents.substr(i, end - i);
        i = end + 1;
        if (contents[end] == '\r' && i < contents.size() && contents[i] == '\n')
            ++i;
    }
    return text;
}

std::string ReadReadmeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    const std::string contents{std::istreambuf_iterator<char>(file),
                               std::istreambuf_iterator<char>()};
    return ReadmeText(contents);
}

std::string HelpFilePath(std::string_view programFolder) {
    return StripTrailingSeparator(programFolder) + "/" + kAppTitle + ".hlp";
}

std::string ReadmeFilePath(std::string_view programFolder) {
    return std::string(programFolder) + "/readme.txt";
}

} // namespace valdrex
