#include "plot/plot_module_abi.h"
#include "plot/plot_window.h"

#include <type_traits>

extern "C" __attribute__((visibility("default"))) void
valdrex_show_plot(const valdrex::CoefficientTexts& texts, valdrex::SettingsStore& store,
                  QWidget* parent) {
    static_assert(std::is_same_v<decltype(valdrex_show_plot), ShowPlotFunction>);
    valdrex::ShowPlotWindow(texts, store, parent);
}

extern "C" __attribute__((visibility("default"))) void
valdrex_update_plot(const valdrex::CoefficientTexts& texts) {
    static_assert(std::is_same_v<decltype(valdrex_update_plot), UpdatePlotFunction>);
    valdrex::UpdatePlotWindow(texts);
}
