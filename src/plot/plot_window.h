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

    // Opens where PlacePlotWindow says, unless the place it had last time still keeps clear of
    // `keepClear` (global coordinates) on the screen of `owner`.
    void PlaceBeside(const QWidget* owner, const QRect& keepClear);

    // Both plots side by side at `size`, for a file or the clipboard, with the equation as the
    // file's title. False when the file could not be written.
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
    bool restored_ = false; // the window has the place it had last time
    std::optional<CoefficientTexts> shown_;
    QString equation_; // of the texts shown: the title of an exported picture
    QStackedWidget* pages_;
    QWidget* plots_;
    RealPlot* real_;
    PlanePlot* plane_;
    QLabel* message_;
    QLabel* hover_;
};

// Where the plot window opens, as frame rectangles on `screen`: beside `owner` where the
// screen has room for `wanted` (right of it, else left, below, above), else in the first of
// those rooms that holds `smallest`, shrunk to fit; without such room, the same beside `grid`,
// over the rest of the owner. It never covers the grid.
QRect PlacePlotWindow(const QRect& owner, const QRect& grid, QSize wanted, QSize smallest,
                      const QRect& screen);

// Opens the one plot window of the program beside `parent` and clear of `keepClear`, or brings
// it to the front; either way the keyboard stays where it was.
PlotWindow* ShowPlotWindow(const CoefficientTexts& texts, SettingsStore& store, QWidget* parent,
                           const QRect& keepClear);
// Lets the plot window, when open, follow the grid. It takes no focus.
void UpdatePlotWindow(const CoefficientTexts& texts);

} // namespace valdrex
