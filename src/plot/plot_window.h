#pragma once

#include "core/coefficient_text.h"
#include "model/settings_store.h"

#include <QMainWindow>

#include <optional>

class QAction;
class QLabel;
class QCPPainter;
class QStackedWidget;

namespace valdrex {

class PlanePlot;
class RealPlot;

// P(x) on the real axis beside the roots in the complex plane, following the grid; a plain
// message takes their place while the grid cannot be drawn. Its size and position are kept in
// the settings between runs.
class PlotWindow : public QMainWindow {
    Q_OBJECT

  public:
    PlotWindow(SettingsStore& store, QWidget* parent);
    ~PlotWindow() override;

    // Draws the grid's equation; texts equal to the last ones change nothing.
    void ShowCoefficients(const CoefficientTexts& texts);

    // Both plots side by side at `size`, for a file or the clipboard. False when the file
    // could not be written.
    bool ExportPng(const QString& path, QSize size) const;
    bool ExportSvg(const QString& path, QSize size) const;
    QImage RenderImage(QSize size) const;

    RealPlot* realPlot() const { return real_; }
    PlanePlot* planePlot() const { return plane_; }
    // The message shown instead of the plots, empty while they are shown.
    QString message() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenus();
    void Render(QCPPainter& painter, QSize size) const;
    void SaveGeometry();
    void ExportToChosenFile(const QString& filter, const QString& suffix);
    void CopyImage();

    SettingsStore& store_;
    std::optional<CoefficientTexts> shown_;
    QStackedWidget* pages_;
    QWidget* plots_;
    RealPlot* real_;
    PlanePlot* plane_;
    QLabel* message_;
    QLabel* hover_;
};

// Opens the one plot window of the program over `parent`, or brings it to the front.
PlotWindow* ShowPlotWindow(const CoefficientTexts& texts, SettingsStore& store, QWidget* parent);
// Lets the plot window, when open, follow the grid. It takes no focus.
void UpdatePlotWindow(const CoefficientTexts& texts);

} // namespace valdrex
