#include "app/plot_loader.h"

#include "core/platform_files.h"
#include "plot/plot_module_abi.h"

namespace valdrex {
namespace {

struct PlotModule {
    ShowPlotFunction* show = nullptr;
    UpdatePlotFunction* update = nullptr;
    std::string failure;
};

PlotModule& Module() {
    static PlotModule module;
    return module;
}

void Load(PlotModule& module) {
    ProgramModule loaded(kPlotModuleFileName);
    module.show = reinterpret_cast<ShowPlotFunction*>(loaded.Symbol(kShowPlotSymbol));
    module.update = reinterpret_cast<UpdatePlotFunction*>(loaded.Symbol(kUpdatePlotSymbol));
    if (module.show == nullptr || module.update == nullptr) {
        module.show = nullptr;
        module.failure = loaded.error();
    }
}

} // namespace

std::optional<ErrorBox> OpenPlot(const CoefficientTexts& texts, SettingsStore& store,
                                 QWidget* parent) {
    PlotModule& module = Module();
    if (module.show == nullptr)
        Load(module);
    if (module.show == nullptr)
        return ErrorBox{"The plot cannot be shown: " + module.failure, BoxIcon::Critical, kAppTitle,
                        0, module.failure};
    module.show(texts, store, parent);
    return std::nullopt;
}

void FollowPlot(const CoefficientTexts& texts) {
    if (const PlotModule& module = Module(); module.update != nullptr)
        module.update(texts);
}

} // namespace valdrex
