#pragma once

#include "plot/plot_geometry.h"
#include "plot/plot_input.h"

#include <qcustomplot.h>

namespace valdrex {

// Marker colours, so that a test can find a marker's pixel.
inline const QColor kSimpleRootColour{0xd6, 0x27, 0x28};
inline const QColor kMultipleRootColour{0xff, 0x8c, 0x00};
inline const QColor kComplexRootColour{0x1f, 0x5f, 0xbf};

// Wheel zoom about the cursor and drag to pan, both from the library; a double click goes
// back to the first view. Pointing somewhere reports a line of text through `hovered`.
class RootPlot : public QCustomPlot {
    Q_OBJECT

  public:
    explicit RootPlot(QWidget* parent);

    virtual void Show(const PlotInput& input) = 0;
    virtual void ResetView() = 0;
    void Clear();

  signals:
    void hovered(const QString& text);

  protected:
    // Lines drawn under the markers.
    void PutUnderMarkers(QCPAbstractItem* item);
    // Labels "×k" beside the multiple roots among the points.
    void AddMultiplicityLabels(std::span<const FoundRoot> roots, bool onAxis);
    virtual QString HoverText(QPointF pixel) const = 0;
    // The root drawn within reach of `pixel`, if any.
    const FoundRoot* RootNear(QPointF pixel, bool onAxis) const;

    std::vector<FoundRoot> roots_;
};

// P(x) on the real axis, resampled for every x-range it is shown at.
class RealPlot : public RootPlot {
    Q_OBJECT

  public:
    explicit RealPlot(QWidget* parent);
    void Show(const PlotInput& input) override;
    void ResetView() override;
    bool clipped() const { return view_.clipped; }
    int curvePointCount() const { return curve_->dataCount(); }

  protected:
    QString HoverText(QPointF pixel) const override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Resample();

    Polynomial a_{};
    RealView view_;
    std::vector<double> keyPoints_;
    QCPGraph* curve_;
    QCPGraph* simpleRoots_;
    QCPGraph* multipleRoots_;
};

// Every root in the complex plane, with equal scales on both axes and the unit circle.
class PlanePlot : public RootPlot {
    Q_OBJECT

  public:
    explicit PlanePlot(QWidget* parent);
    void Show(const PlotInput& input) override;
    void ResetView() override;

  protected:
    QString HoverText(QPointF pixel) const override;
    // Keeps one unit as long on both axes whatever the widget's shape.
    void updateLayout() override;

  private:
    QCPGraph* complexRoots_;
    QCPGraph* simpleRoots_;
    QCPGraph* multipleRoots_;
};

} // namespace valdrex
