#include "dialogs/help_window.h"

#include "core/platform_files.h"
#include "dialogs/program_files.h"
#include "dialogs/program_icon.h"
#include "dialogs/window_placement.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

#include <cerrno>
#include <cstdio>

namespace valdrex {
namespace {

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

} // namespace valdrex
