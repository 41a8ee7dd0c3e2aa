// The plot window's budgets: opening it, and redrawing both plots after one coefficient of a
// degree-12 equation changed, root finding included. Runs offscreen.
#include "plot/plot_views.h"
#include "plot/plot_window.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace valdrex {
namespace {

// 12x^12 - 7x^11 + ... : real roots, complex pairs and a steep outer branch.
CoefficientTexts DegreeTwelve(const char* linear) {
    CoefficientTexts texts{"-2", linear, "0", "1", "5", "0", "-3", "0", "0", "2", "0", "-7", "12"};
    return texts;
}

void Draw(PlotWindow& window) {
    window.realPlot()->replot(QCustomPlot::rpImmediateRefresh);
    window.planePlot()->replot(QCustomPlot::rpImmediateRefresh);
}

void BM_ReplotAfterOneCoefficient(benchmark::State& state) {
    MemorySettingsStore store;
    PlotWindow window(store, nullptr);
    window.resize(960, 480);
    window.show();
    const CoefficientTexts texts[] = {DegreeTwelve("4"), DegreeTwelve("41")};
    int next = 0;
    for (auto _ : state) {
        window.ShowCoefficients(texts[next ^= 1]);
        Draw(window);
    }
}
BENCHMARK(BM_ReplotAfterOneCoefficient)->Unit(benchmark::kMillisecond);

void BM_OpenPlotWindow(benchmark::State& state) {
    MemorySettingsStore store;
    for (auto _ : state) {
        PlotWindow window(store, nullptr);
        window.resize(960, 480);
        window.ShowCoefficients(DegreeTwelve("4"));
        window.show();
        QCoreApplication::processEvents();
        Draw(window);
    }
}
BENCHMARK(BM_OpenPlotWindow)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace valdrex

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
