#include "app/plot_loader.h"

#include "core/home_folder.h"
#include "dialogs/plot_module_abi.h"

#include <dlfcn.h>
#include <unistd.h>

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

// Beside the program (installed, they share a folder), else where this build made it.
void Load(PlotModule& module) {
    std::string path = ProgramFolder() + "/" + kPlotModuleFileName;
    if (access(path.c_str(), F_OK) != 0)
        path = VALDREX_PLOT_BUILT_MODULE;
    void* const handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* const show = handle ? dlsym(handle, kShowPlotSymbol) : nullptr;
    void* const update = handle ? dlsym(handle, kUpdatePlotSymbol) : nullptr;
    if (show == nullptr || update == nullptr) {
        module.failure = dlerror();
        return;
    }
    module.show = reinterpret_cast<ShowPlotFunction*>(show);
    module.update = reinterpret_cast<UpdatePlotFunction*>(update);
}

} // namespace

std::optional<ErrorBox> OpenPlot(const CoefficientTexts& texts, SettingsStore& store,
                                 QWidget* parent) {
    PlotModule& module = Module();
    if (module.show == nullptr)
        Load(module);
    if (module.show == nullptr)
        return ErrorBox{"The plot cannot be shown: " + module.failure, BoxIcon::Critical,
                        kAppTitle};
    module.show(texts, store, parent);
    return std::nullopt;
}

void FollowPlot(const CoefficientTexts& texts) {
    if (const PlotModule& module = Module(); module.update != nullptr)
        module.update(texts);
}

} // namespace valdrex
