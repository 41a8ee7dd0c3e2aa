#include "core_test_support.h"
#include "gui_test.h"
#include "plot/plot_views.h"
#include "plot/plot_window.h"

#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QRegularExpression>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QTemporaryDir>

namespace valdrex {
namespace {

// (x + 2)(x - 1)^2 = x^3 - 3x + 2: a simple root at -2 and a double one at 1.
using testing::Grid;

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
    EXPECT_EQ(real()->xAxis->label() + "|" + real()->yAxis->label(), "x|P(x)");
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

TEST_F(PlotWindowTest, FollowsTheGridAndExportsPngAndSvgTitledWithTheEquation) {
    // x - 3 typed after the window opened.
    window_->ShowCoefficients(Grid({{1, "1"}, {0, "-3"}}));
    Replot();
    EXPECT_TRUE(real()->xAxis->range().contains(3));
    EXPECT_EQ(ColourAt(real(), Pixel(real(), 3, 0)), kSimpleRootColour);
    // Nothing of the last equation stays: the plane keeps its unit circle alone.
    ASSERT_EQ(window_->planePlot()->itemCount(), 1);
    const auto* circle = qobject_cast<QCPItemEllipse*>(window_->planePlot()->item(0));
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->pen().style(), Qt::DashLine) << "a guide, not a curve";
    EXPECT_EQ(circle->topLeft->coords(), QPointF(-1, 1));
    EXPECT_EQ(circle->bottomRight->coords(), QPointF(1, -1));

    const QTemporaryDir folder;
    const QString png = folder.filePath("plot.png"), svg = folder.filePath("plot.svg");
    ASSERT_TRUE(window_->ExportPng(png, {640, 360}));
    EXPECT_EQ(QImage(png).size(), QSize(640, 360));
    EXPECT_EQ(QImage(png).text("Title"), "x - 3 = 0");
    ASSERT_TRUE(window_->ExportSvg(svg, {640, 360}));
    QSvgRenderer drawing(svg);
    EXPECT_TRUE(drawing.isValid());
    EXPECT_EQ(drawing.viewBox(), QRect(0, 0, 640, 360));
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("<title>x - 3 = 0</title>"));
    EXPECT_FALSE(window_->ExportPng(folder.filePath("missing/plot.png"), {640, 360}));
    // Values beyond the grid's own 32-bit drawing are titled from their exact (reduced) reading,
    // and a text no reading takes as typed.
    for (const auto& [grid, title] : {
             std::pair{Grid({{2, "8589934594/4"}, {0, "-1"}}), "4294967297/2·x^2 - 1 = 0"},
             std::pair{Grid({{2, "6/4"}, {1, "0/0"}}), "6/4·x^2 + 0/0·x = 0"},
         }) {
        window_->ShowCoefficients(grid);
        ASSERT_TRUE(window_->ExportPng(png, {320, 180}));
        EXPECT_EQ(QImage(png).text("Title"), QString::fromUtf8(title));
    }
}

// The file chosen gets the suffix of its kind; the status line says where the picture went. The
// menu's last item closes the window.
TEST_F(PlotWindowTest, ExportAndCopySayWhatTheyDid) {
    const QTemporaryDir folder;
    const ModalAnswer answer(QMessageBox::Ok, [&](QDialog* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        files->setDirectory(folder.path());
        dialog->accept();
    });
    Child<QAction>(window_.get(), "mnuPExportSvg")->trigger();
    const QWidget* plots = real()->parentWidget();
    const QString size = QString("%1 × %2 pixels").arg(plots->width()).arg(plots->height());
    QStatusBar* status = window_->statusBar();
    EXPECT_TRUE(QFile::exists(folder.filePath("plot.svg")));
    EXPECT_EQ(status->currentMessage(),
              "The plot is saved as " + folder.filePath("plot.svg") + " (" + size + ")");
    Child<QAction>(window_.get(), "mnuPCopy")->trigger();
    EXPECT_TRUE(status->currentMessage().startsWith("The plot is on the clipboard"));
    EXPECT_FALSE(QGuiApplication::clipboard()->image().isNull());
    ASSERT_TRUE(window_->isVisible());
    Child<QAction>(window_.get(), "mnuPClose")->trigger();
    EXPECT_FALSE(window_->isVisible());
}

// Beside the owner where the screen has room for the whole plot, else in the first room that
// holds a small one, else beside the grid; never over the grid, always on the screen.
TEST(PlotPlacement, BesideTheOwnerWhereThereIsRoomAndNeverOverTheGrid) {
    const QSize wanted(960, 480), smallest(360, 240);
    const struct {
        QRect screen, owner, grid, expected;
    } cases[] = {
        {{0, 0, 1920, 1080}, {100, 50, 800, 600}, {110, 100, 500, 250}, {908, 50, 960, 480}},
        {{0, 0, 1920, 1080}, {1000, 50, 900, 600}, {1010, 100, 500, 250}, {32, 50, 960, 480}},
        {{0, 0, 1920, 1080}, {500, 10, 920, 500}, {510, 60, 500, 250}, {500, 518, 960, 480}},
        {{0, 0, 1280, 800}, {0, 0, 780, 560}, {4, 60, 560, 250}, {788, 0, 492, 480}},
        {{0, 0, 1280, 800}, {0, 0, 1280, 800}, {4, 80, 560, 220}, {4, 308, 960, 480}},
        {{0, 0, 1280, 800}, {250, 120, 770, 560}, {255, 150, 550, 300}, {813, 150, 467, 480}},
        {{0, 0, 640, 400}, {0, 0, 640, 400}, {4, 60, 420, 300}, {432, 0, 208, 400}},
    };
    for (const auto& c : cases) {
        const QRect place = PlacePlotWindow(c.owner, c.grid, wanted, smallest, c.screen);
        EXPECT_EQ(place, c.expected) << c.owner.x() << "," << c.owner.y();
        EXPECT_FALSE(place.intersects(c.grid));
        EXPECT_TRUE(c.screen.contains(place));
    }
}

TEST_F(PlotWindowTest, SizeAndPositionAreKeptForTheNextWindow) {
    window_->resize(700, 380);
    window_->close();
    PlotWindow next(store_, nullptr);
    EXPECT_EQ(next.size(), QSize(700, 380));
}

} // namespace
} // namespace valdrex
