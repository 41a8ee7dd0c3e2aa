#include "plot/plot_views.h"

#include "core/number_text.h"

namespace valdrex {
namespace {

constexpr double kMarkerSize = 10;
constexpr double kMultipleMarkerSize = 14;
constexpr double kReachPixels = 10; // how near the pointer must be to name a root
const QColor kCurveColour{0x20, 0x20, 0x60};
const QColor kGuideColour{0x90, 0x90, 0x90};

QString Number(double value) {
    return QString::fromStdString(TrimBlanks(NumberToStr(value)));
}

QCPGraph* AddMarkers(QCustomPlot* plot, QCPScatterStyle::ScatterShape shape, const QColor& colour,
                     double size) {
    QCPGraph* graph = plot->addGraph();
    graph->setLineStyle(QCPGraph::lsNone);
    graph->setScatterStyle(QCPScatterStyle(shape, colour, colour, size));
    return graph;
}

void SetOnAxis(QCPGraph* graph, const QVector<double>& x) {
    graph->setData(x, QVector<double>(x.size(), 0.0), true);
}

} // namespace

RootPlot::RootPlot(QWidget* parent) : QCustomPlot(parent) {
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    setMouseTracking(true);
    // Smooth curves and markers for a fraction of a millisecond per replot (bench/README.md).
    setAntialiasedElements(QCP::aePlottables | QCP::aeItems);
    xAxis->grid()->setZeroLinePen(QPen(Qt::black));
    yAxis->grid()->setZeroLinePen(QPen(Qt::black));
    addLayer("guides", layer("main"), limBelow);
    connect(this, &QCustomPlot::mouseDoubleClick, this, [this] { ResetView(); });
    connect(this, &QCustomPlot::mouseMove, this,
            [this](QMouseEvent* event) { emit hovered(HoverText(event->position())); });
}

void RootPlot::Clear() {
    roots_.clear();
    clearItems();
    for (int i = 0; i < graphCount(); ++i)
        graph(i)->data()->clear();
    replot(rpQueuedReplot);
}

void RootPlot::PutUnderMarkers(QCPAbstractItem* item) {
    item->setLayer("guides");
}

void RootPlot::AddMultiplicityLabels(std::span<const FoundRoot> roots, bool onAxis) {
    for (const FoundRoot& root : roots) {
        if (root.multiplicity < 2)
            continue;
        auto* label = new QCPItemText(this);
        label->position->setCoords(root.re, onAxis ? 0 : root.im);
        label->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
        label->setPadding(QMargins(6, 0, 0, 6));
        label->setText(QString::fromUtf8("\u00D7") + QString::number(root.multiplicity));
    }
}

const FoundRoot* RootPlot::RootNear(QPointF pixel, bool onAxis) const {
    const FoundRoot* nearest = nullptr;
    double best = kReachPixels;
    for (const FoundRoot& root : roots_) {
        if (onAxis && root.im != 0)
            continue;
        const QPointF at(xAxis->coordToPixel(root.re), yAxis->coordToPixel(onAxis ? 0 : root.im));
        if (const double distance = QLineF(at, pixel).length(); distance <= best) {
            best = distance;
            nearest = &root;
        }
    }
    return nearest;
}

RealPlot::RealPlot(QWidget* parent)
    : RootPlot(parent), curve_(addGraph()),
      simpleRoots_(AddMarkers(this, QCPScatterStyle::ssDisc, kSimpleRootColour, kMarkerSize)),
      multipleRoots_(
          AddMarkers(this, QCPScatterStyle::ssDiamond, kMultipleRootColour, kMultipleMarkerSize)) {
    setObjectName("plotReal");
    curve_->setPen(QPen(kCurveColour, 1.5));
    // The library thins dense data for drawing; the sampling here is already as dense as needed.
    curve_->setAdaptiveSampling(false);
    xAxis->setLabel("x");
    // Zoom and pan: the samples follow the view (the height sets how close they must lie).
    for (QCPAxis* axis : {xAxis, yAxis})
        connect(axis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
                &RealPlot::Resample);
}

void RealPlot::Show(const PlotInput& input) {
    a_ = input.a;
    roots_ = input.roots;
    view_ = ChooseRealView(a_, roots_);
    keyPoints_ = view_.turningPoints;
    QVector<double> simpleX, multipleX;
    for (const FoundRoot& root : roots_) {
        if (root.im != 0)
            continue;
        keyPoints_.push_back(root.re);
        (root.multiplicity > 1 ? multipleX : simpleX).push_back(root.re);
    }
    SetOnAxis(simpleRoots_, simpleX);
    SetOnAxis(multipleRoots_, multipleX);
    clearItems();
    AddMultiplicityLabels(roots_, true);
    yAxis->setLabel(view_.clipped ? "P(x)   (steep branches clipped)" : "P(x)");
    ResetView();
}

void RealPlot::ResetView() {
    yAxis->setRange(view_.y.lo, view_.y.hi);
    xAxis->setRange(view_.x.lo, view_.x.hi);
    Resample(); // also when the ranges stay as they were
    replot(rpQueuedReplot);
}

void RealPlot::Resample() {
    const QCPRange x = xAxis->range(), y = yAxis->range();
    const QSize pixels = axisRect()->rect().isEmpty() ? size() : axisRect()->rect().size();
    const Curve curve = SampleCurve(a_, {x.lower, x.upper}, {y.lower, y.upper}, pixels.width(),
                                    pixels.height(), keyPoints_);
    curve_->setData(QVector<double>(curve.x.begin(), curve.x.end()),
                    QVector<double>(curve.y.begin(), curve.y.end()), true);
}

void RealPlot::resizeEvent(QResizeEvent* event) {
    RootPlot::resizeEvent(event);
    // The sampling follows the number of pixels; the layout is only known after this update.
    updateLayout();
    Resample();
}

QString RealPlot::HoverText(QPointF pixel) const {
    if (const FoundRoot* root = RootNear(pixel, true))
        return "Root: x = " + QString::fromStdString(TrimBlanks(root->text));
    const double x = xAxis->pixelToCoord(pixel.x());
    return "x = " + Number(x) + "    P(x) = " + Number(PlotValue(a_, x));
}

PlanePlot::PlanePlot(QWidget* parent)
    : RootPlot(parent),
      complexRoots_(AddMarkers(this, QCPScatterStyle::ssDisc, kComplexRootColour, kMarkerSize)),
      simpleRoots_(AddMarkers(this, QCPScatterStyle::ssDisc, kSimpleRootColour, kMarkerSize)),
      multipleRoots_(
          AddMarkers(this, QCPScatterStyle::ssDiamond, kMultipleRootColour, kMultipleMarkerSize)) {
    setObjectName("plotComplex");
    xAxis->setLabel("Re");
    yAxis->setLabel("Im");
}

void PlanePlot::Show(const PlotInput& input) {
    roots_ = input.roots;
    clearItems();
    QVector<double> re, im, simpleX, multipleX;
    for (const FoundRoot& root : roots_) {
        if (root.im == 0) {
            (root.multiplicity > 1 ? multipleX : simpleX).push_back(root.re);
            continue;
        }
        re.push_back(root.re);
        im.push_back(root.im);
        if (root.im > 0) { // the pair's line, once
            auto* pair = new QCPItemLine(this);
            pair->setPen(QPen(kComplexRootColour, 1, Qt::DashLine));
            pair->start->setCoords(root.re, root.im);
            pair->end->setCoords(root.re, -root.im);
            PutUnderMarkers(pair);
        }
    }
    complexRoots_->setData(re, im);
    SetOnAxis(simpleRoots_, simpleX);
    SetOnAxis(multipleRoots_, multipleX);
    auto* circle = new QCPItemEllipse(this);
    circle->setPen(QPen(kGuideColour, 1, Qt::DashLine));
    circle->topLeft->setCoords(-1, 1);
    circle->bottomRight->setCoords(1, -1);
    PutUnderMarkers(circle);
    AddMultiplicityLabels(roots_, false);
    ResetView();
}

void PlanePlot::ResetView() {
    const PlaneView view = ChoosePlaneView(roots_);
    xAxis->setRange(view.re.lo, view.re.hi);
    yAxis->setRange(view.im.lo, view.im.hi);
    replot(rpQueuedReplot);
}

void PlanePlot::updateLayout() {
    QCustomPlot::updateLayout();
    // The axis with fewer pixels per unit sets the scale, so nothing in view is lost.
    const double width = axisRect()->width(), height = axisRect()->height();
    if (width <= 0 || height <= 0)
        return;
    if (width / xAxis->range().size() < height / yAxis->range().size())
        yAxis->setScaleRatio(xAxis, 1.0);
    else
        xAxis->setScaleRatio(yAxis, 1.0);
}

QString PlanePlot::HoverText(QPointF pixel) const {
    if (const FoundRoot* root = RootNear(pixel, false))
        return "Root: x = " + QString::fromStdString(TrimBlanks(root->text));
    return "Re = " + Number(xAxis->pixelToCoord(pixel.x())) +
           "    Im = " + Number(yAxis->pixelToCoord(pixel.y()));
}

} // namespace valdrex
