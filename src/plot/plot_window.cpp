#include "plot/plot_window.h"

#include "core/equation_text.h"
#include "core/failure.h"
#include "dialogs/message_box.h"
#include "plot/plot_input.h"
#include "plot/plot_views.h"
#include "solvers/typed_equation/typed_equation.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QSvgGenerator>

#include <algorithm>
#include <array>

namespace valdrex {
namespace {

constexpr char kSection[] = "Plot";
constexpr char kGeometryKey[] = "Geometry";
constexpr QSize kInitialSize{960, 480};
constexpr QSize kSmallestSize{360, 240};
constexpr int kGap = 8;
constexpr int kMessageMilliseconds = 10000;

// The title of the texts' picture. The grid's own drawing fails on values beyond 32 bits that
// the plot still draws from their exact reading; a text neither reading takes is shown as typed.
QString EquationTitle(const CoefficientTexts& texts) {
    try {
        return QString::fromStdString(EquationText(texts));
    } catch (const RuntimeFailure&) {
    }
    if (const std::optional<std::string> exact = ExactEquationText(texts))
        return QString::fromStdString(*exact);
    CoefficientTexts typed;
    for (int power = 0; power < kCoefficientCount; ++power) {
        typed[power] = RemoveSpaces(texts[power]);
        if (typed[power].empty())
            typed[power] = "0";
    }
    std::string equation;
    WriteCanonicalEquationText(typed, equation);
    return QString::fromStdString(equation);
}

// The room of `screen` right of, left of, below and above `keep`, in that order, a gap away.
std::array<QRect, 4> RoomAround(const QRect& keep, const QRect& screen) {
    return {QRect(QPoint(keep.right() + 1 + kGap, screen.top()), screen.bottomRight()),
            QRect(screen.topLeft(), QPoint(keep.left() - 1 - kGap, screen.bottom())),
            QRect(QPoint(screen.left(), keep.bottom() + 1 + kGap), screen.bottomRight()),
            QRect(screen.topLeft(), QPoint(screen.right(), keep.top() - 1 - kGap))};
}

bool Holds(const QRect& room, QSize size) {
    return room.width() >= size.width() && room.height() >= size.height();
}

// A window of `size` in the `side`th room around `keep`: against its side of `keep`, level with
// it and kept inside the room.
QRect PlaceInRoom(const QRect& room, int side, const QRect& keep, QSize size) {
    const auto within = [](int start, int length, int low, int high) {
        return std::max(low, std::min(start, high + 1 - length));
    };
    const int x = side == 1 ? room.right() + 1 - size.width()
                            : within(keep.left(), size.width(), room.left(), room.right());
    const int y = side == 3 ? room.bottom() + 1 - size.height()
                            : within(keep.top(), size.height(), room.top(), room.bottom());
    return {QPoint(side == 0 ? room.left() : x, side == 2 ? room.top() : y), size};
}

// Beside `keep` as PlacePlotWindow says, if some room holds `smallest`.
std::optional<QRect> PlaceOutside(const QRect& keep, QSize wanted, QSize smallest,
                                  const QRect& screen) {
    const std::array<QRect, 4> rooms = RoomAround(keep, screen);
    for (const QSize size : {wanted, smallest})
        for (int side = 0; side < 4; ++side)
            if (Holds(rooms[side], size))
                return PlaceInRoom(rooms[side], side, keep, wanted.boundedTo(rooms[side].size()));
    return std::nullopt;
}

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
        restored_ = restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(*stored)));
}

void PlotWindow::PlaceBeside(const QWidget* owner, const QRect& keepClear) {
    // Not shown yet, the window does not know its frame: the owner's is the best guess.
    const QMargins frame(owner->geometry().left() - owner->frameGeometry().left(),
                         owner->geometry().top() - owner->frameGeometry().top(),
                         owner->frameGeometry().right() - owner->geometry().right(),
                         owner->frameGeometry().bottom() - owner->geometry().bottom());
    const QRect screen = owner->screen()->availableGeometry();
    QRect place = geometry().marginsAdded(frame);
    if (!restored_ || place.intersects(keepClear) || !screen.contains(place))
        place =
            PlacePlotWindow(owner->frameGeometry(), keepClear, place.size(), kSmallestSize, screen);
    setGeometry(place.marginsRemoved(frame));
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
    equation_ = EquationTitle(texts);
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
    QImage image = RenderImage(size);
    image.setText(QStringLiteral("Title"), equation_);
    return image.save(path, "PNG");
}

bool PlotWindow::ExportSvg(const QString& path, QSize size) const {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(equation_);
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
    const QSize size = plots_->size();
    const bool written = suffix == ".png" ? ExportPng(path, size) : ExportSvg(path, size);
    if (written)
        statusBar()->showMessage(QStringLiteral("The plot is saved as %1 (%2 × %3 pixels)")
                                     .arg(path)
                                     .arg(size.width())
                                     .arg(size.height()),
                                 kMessageMilliseconds);
    else
        ShowErrorBox({"The plot could not be written to " + path.toStdString(),
                      BoxIcon::Critical,
                      kAppTitle,
                      0,
                      {}},
                     this);
}

void PlotWindow::CopyImage() {
    const QSize size = plots_->size();
    QGuiApplication::clipboard()->setImage(RenderImage(size));
    statusBar()->showMessage(QStringLiteral("The plot is on the clipboard as an image (%1 × %2 "
                                            "pixels)")
                                 .arg(size.width())
                                 .arg(size.height()),
                             kMessageMilliseconds);
}

void PlotWindow::SaveGeometry() {
    store_.Write(kSection, kGeometryKey, saveGeometry().toBase64().toStdString());
}

void PlotWindow::closeEvent(QCloseEvent* event) {
    SaveGeometry();
    event->accept();
}

QRect PlacePlotWindow(const QRect& owner, const QRect& grid, QSize wanted, QSize smallest,
                      const QRect& screen) {
    wanted = wanted.boundedTo(screen.size());
    if (const std::optional<QRect> place = PlaceOutside(owner, wanted, smallest, screen))
        return *place;
    if (const std::optional<QRect> place = PlaceOutside(grid, wanted, smallest, screen))
        return *place;
    // A screen too small for the smallest plot beside the grid: the largest room there.
    const std::array<QRect, 4> rooms = RoomAround(grid, screen);
    const auto larger = [](const QRect& a, const QRect& b) {
        return (a.isValid() ? a.width() * a.height() : 0) <
               (b.isValid() ? b.width() * b.height() : 0);
    };
    const auto best = std::max_element(rooms.begin(), rooms.end(), larger);
    const int side = static_cast<int>(best - rooms.begin());
    return PlaceInRoom(*best, side, grid, wanted.boundedTo(best->size()));
}

PlotWindow* ShowPlotWindow(const CoefficientTexts& texts, SettingsStore& store, QWidget* parent,
                           const QRect& keepClear) {
    QPointer<PlotWindow>& window = OpenPlotWindow();
    if (window == nullptr) {
        window = new PlotWindow(store, parent);
        window->PlaceBeside(parent, keepClear);
    }
    window->ShowCoefficients(texts);
    // The user goes on typing into the grid and watches the plot follow.
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->show();
    window->raise();
    return window;
}

void UpdatePlotWindow(const CoefficientTexts& texts) {
    if (PlotWindow* window = OpenPlotWindow(); window != nullptr && window->isVisible())
        window->ShowCoefficients(texts);
}

} // namespace valdrex
