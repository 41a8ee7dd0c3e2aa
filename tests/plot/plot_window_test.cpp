#include "gui_test.h"
#include "plot/plot_views.h"
#include "plot/plot_window.h"

#include <QLabel>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>

namespace valdrex {
namespace {

CoefficientTexts Grid(std::initializer_list<std::pair<int, const char*>> boxes) {
    CoefficientTexts texts;
    texts.fill("0");
    for (const auto& [power, text] : boxes)
        texts[power] = text;
    return texts;
}

// (x + 2)(x - 1)^2 = x^3 - 3x + 2: a simple root at -2 and a double one at 1.
const CoefficientTexts kDoubleRoot = Grid({{3, "1"}, {1, "-3"}, {0, "2"}});

class PlotWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = std::make_unique<PlotWindow>(store_, nullptr);
        window_->resize(900, 450);
        window_->ShowCoefficients(kDoubleRoot);
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        Replot();
    }

    void Replot() {
        real()->replot(QCustomPlot::rpImmediateRefresh);
        window_->planePlot()->replot(QCustomPlot::rpImmediateRefresh);
    }
    RealPlot* real() const { return window_->realPlot(); }
    QPoint Pixel(QCustomPlot* plot, double x, double y) const {
        return QPointF(plot->xAxis->coordToPixel(x), plot->yAxis->coordToPixel(y)).toPoint();
    }
    QColor ColourAt(QCustomPlot* plot, QPoint pixel) const {
        return plot->grab().toImage().pixelColor(pixel);
    }
    QCPRange XRange() const { return real()->xAxis->range(); }

    MemorySettingsStore store_;
    std::unique_ptr<PlotWindow> window_;
};

TEST_F(PlotWindowTest, RootMarkersLandOnTheRootsAndNameThemUnderThePointer) {
    EXPECT_EQ(window_->message(), "");
    EXPECT_GT(real()->curvePointCount(), 100);
    const QPoint simple = Pixel(real(), -2, 0), twice = Pixel(real(), 1, 0);
    EXPECT_EQ(ColourAt(real(), simple), kSimpleRootColour);
    EXPECT_EQ(ColourAt(real(), twice), kMultipleRootColour);

    auto* hover = Child<QLabel>(window_.get(), "lblPlotHover");
    QTest::mouseMove(real(), twice);
    EXPECT_TRUE(hover->text().startsWith("Root: x = ")) << hover->text().toStdString();
    QTest::mouseMove(real(), Pixel(real(), 0, 1));
    EXPECT_TRUE(hover->text().contains(QRegularExpression(R"(^x = \S+    P\(x\) = 2\.0\d*$)")))
        << hover->text().toStdString();

    PlanePlot* plane = window_->planePlot();
    EXPECT_EQ(ColourAt(plane, Pixel(plane, -2, 0)), kSimpleRootColour);
    EXPECT_EQ(ColourAt(plane, Pixel(plane, 1, 0)), kMultipleRootColour);
    // One unit is as long on both axes.
    const double unitsPerPixel = plane->xAxis->range().size() / plane->axisRect()->width();
    EXPECT_NEAR(plane->yAxis->range().size() / plane->axisRect()->height(), unitsPerPixel,
                unitsPerPixel * 1e-6);
}

TEST_F(PlotWindowTest, WheelZoomsAboutThePointerDragPansDoubleClickResets) {
    const QCPRange first = XRange();
    const QPoint at = Pixel(real(), 1, 0);
    QWheelEvent wheel(at, real()->mapToGlobal(at), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(real(), &wheel);
    EXPECT_LT(XRange().size(), first.size() * 0.9);
    EXPECT_NEAR(real()->xAxis->pixelToCoord(at.x()), 1, first.size() / 500);

    const QCPRange zoomed = XRange();
    const double unitsPerPixel = zoomed.size() / real()->axisRect()->width();
    QTest::mousePress(real(), Qt::LeftButton, {}, at);
    QTest::mouseMove(real(), at + QPoint(50, 0));
    QTest::mouseRelease(real(), Qt::LeftButton, {}, at + QPoint(50, 0));
    EXPECT_NEAR(XRange().lower, zoomed.lower - 50 * unitsPerPixel, unitsPerPixel);
    EXPECT_NEAR(XRange().size(), zoomed.size(), 1e-9);

    QTest::mouseDClick(real(), Qt::LeftButton, {}, at);
    EXPECT_DOUBLE_EQ(XRange().lower, first.lower);
    EXPECT_DOUBLE_EQ(XRange().upper, first.upper);
}

TEST_F(PlotWindowTest, UnfinishedOrUnreadableGridShowsAMessageAndNoCurve) {
    for (const auto& [grid, message] : {
             std::pair{Grid({{3, "1"}, {2, "-"}}), "Finish typing the coefficient of x^2"},
             std::pair{Grid({{1, "1"}, {0, "3/"}}), "Finish typing the constant term"},
             std::pair{Grid({{2, "1/0"}}), "zero denominator"},
             std::pair{Grid({{0, "7"}}), "constant"},
         }) {
        window_->ShowCoefficients(grid);
        EXPECT_TRUE(window_->message().contains(message)) << window_->message().toStdString();
        EXPECT_TRUE(Child<QLabel>(window_.get(), "lblPlotMessage")->isVisible());
        EXPECT_EQ(real()->curvePointCount(), 0);
    }
    window_->ShowCoefficients(kDoubleRoot);
    EXPECT_EQ(window_->message(), "");
    EXPECT_TRUE(real()->isVisible());
}

TEST_F(PlotWindowTest, FollowsTheGridAndExportsPngAndSvg) {
    // x - 3 typed after the window opened.
    window_->ShowCoefficients(Grid({{1, "1"}, {0, "-3"}}));
    Replot();
    EXPECT_TRUE(real()->xAxis->range().contains(3));
    EXPECT_EQ(ColourAt(real(), Pixel(real(), 3, 0)), kSimpleRootColour);

    const QTemporaryDir folder;
    const QString png = folder.filePath("plot.png"), svg = folder.filePath("plot.svg");
    ASSERT_TRUE(window_->ExportPng(png, {640, 360}));
    EXPECT_EQ(QImage(png).size(), QSize(640, 360));
    ASSERT_TRUE(window_->ExportSvg(svg, {640, 360}));
    QSvgRenderer drawing(svg);
    EXPECT_TRUE(drawing.isValid());
    EXPECT_EQ(drawing.viewBox(), QRect(0, 0, 640, 360));
    EXPECT_FALSE(window_->ExportPng(folder.filePath("missing/plot.png"), {640, 360}));
}

TEST_F(PlotWindowTest, SizeAndPositionAreKeptForTheNextWindow) {
    window_->resize(700, 380);
    window_->close();
    PlotWindow next(store_, nullptr);
    EXPECT_EQ(next.size(), QSize(700, 380));
}

} // namespace
} // namespace valdrex
