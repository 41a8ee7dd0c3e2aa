#include "plot/plot_window.h"

#include "dialogs/message_box.h"
#include "plot/plot_input.h"
#include "plot/plot_views.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QSvgGenerator>

namespace valdrex {
namespace {

constexpr char kSection[] = "Plot";
constexpr char kGeometryKey[] = "Geometry";
constexpr QSize kInitialSize{960, 480};

QPointer<PlotWindow>& OpenPlotWindow() {
    static QPointer<PlotWindow> window;
    return window;
}

} // namespace

PlotWindow::PlotWindow(SettingsStore& store, QWidget* parent)
    : QMainWindow(parent, Qt::Window), store_(store), pages_(new QStackedWidget(this)),
      plots_(new QSplitter(Qt::Horizontal, pages_)), real_(new RealPlot(plots_)),
      plane_(new PlanePlot(plots_)), message_(new QLabel(pages_)), hover_(new QLabel(this)) {
    setObjectName("frmPlot");
    setWindowTitle(QString::fromUtf8(kAppTitle) + " - Plot");
    message_->setObjectName("lblPlotMessage");
    message_->setAlignment(Qt::AlignCenter);
    message_->setWordWrap(true);
    pages_->addWidget(plots_);
    pages_->addWidget(message_);
    setCentralWidget(pages_);
    hover_->setObjectName("lblPlotHover");
    statusBar()->addWidget(hover_, 1);
    for (RootPlot* plot : {static_cast<RootPlot*>(real_), static_cast<RootPlot*>(plane_)})
        connect(plot, &RootPlot::hovered, hover_, &QLabel::setText);
    BuildMenus();

    resize(kInitialSize);
    if (const std::optional<std::string> stored = store_.Read(kSection, kGeometryKey))
        restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(*stored)));
}

PlotWindow::~PlotWindow() {
    if (isVisible())
        SaveGeometry();
}

void PlotWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("mnuPFile");
    file->addAction("Export &PNG...", this,
                    [this] { ExportToChosenFile("PNG images (*.png)", ".png"); })
        ->setObjectName("mnuPExportPng");
    file->addAction("Export &SVG...", this,
                    [this] { ExportToChosenFile("SVG drawings (*.svg)", ".svg"); })
        ->setObjectName("mnuPExportSvg");
    QAction* copy = file->addAction("&Copy image", this, &PlotWindow::CopyImage);
    copy->setObjectName("mnuPCopy");
    copy->setShortcut(QKeySequence::Copy);
    file->addSeparator();
    file->addAction("C&lose", this, &QWidget::close)->setObjectName("mnuPClose");
}

void PlotWindow::ShowCoefficients(const CoefficientTexts& texts) {
    if (shown_ == texts)
        return;
    shown_ = texts;
    const PlotInput input = ReadPlotInput(texts);
    message_->setText(QString::fromStdString(input.message));
    hover_->clear();
    if (!input.message.empty()) {
        real_->Clear();
        plane_->Clear();
        pages_->setCurrentWidget(message_);
        return;
    }
    pages_->setCurrentWidget(plots_);
    real_->Show(input);
    plane_->Show(input);
}

QString PlotWindow::message() const {
    return pages_->currentWidget() == message_ ? message_->text() : QString();
}

void PlotWindow::Render(QCPPainter& painter, QSize size) const {
    const int left = size.width() / 2;
    real_->toPainter(&painter, left, size.height());
    painter.save();
    painter.translate(left, 0);
    plane_->toPainter(&painter, size.width() - left, size.height());
    painter.restore();
}

QImage PlotWindow::RenderImage(QSize size) const {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QCPPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    Render(painter, size);
    return image;
}

bool PlotWindow::ExportPng(const QString& path, QSize size) const {
    return RenderImage(size).save(path, "PNG");
}

bool PlotWindow::ExportSvg(const QString& path, QSize size) const {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(windowTitle());
    QCPPainter painter;
    if (!painter.begin(&svg))
        return false;
    Render(painter, size);
    return painter.end();
}

void PlotWindow::ExportToChosenFile(const QString& filter, const QString& suffix) {
    QString path = QFileDialog::getSaveFileName(this, "Export the plot", "plot" + suffix, filter);
    if (path.isEmpty())
        return;
    if (!path.endsWith(suffix, Qt::CaseInsensitive))
        path += suffix;
    const bool written =
        suffix == ".png" ? ExportPng(path, plots_->size()) : ExportSvg(path, plots_->size());
    if (!written)
        ShowErrorBox({"The plot could not be written to " + path.toStdString(),
                      BoxIcon::Critical,
                      kAppTitle,
                      0,
                      {}},
                     this);
}

void PlotWindow::CopyImage() {
    QGuiApplication::clipboard()->setImage(RenderImage(plots_->size()));
}

void PlotWindow::SaveGeometry() {
    store_.Write(kSection, kGeometryKey, saveGeometry().toBase64().toStdString());
}

void PlotWindow::closeEvent(QCloseEvent* event) {
    SaveGeometry();
    event->accept();
}

PlotWindow* ShowPlotWindow(const CoefficientTexts& texts, SettingsStore& store, QWidget* parent) {
    QPointer<PlotWindow>& window = OpenPlotWindow();
    if (window == nullptr)
        window = new PlotWindow(store, parent);
    window->ShowCoefficients(texts);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void UpdatePlotWindow(const CoefficientTexts& texts) {
    if (PlotWindow* window = OpenPlotWindow(); window != nullptr && window->isVisible())
        window->ShowCoefficients(texts);
}

} // namespace valdrex
