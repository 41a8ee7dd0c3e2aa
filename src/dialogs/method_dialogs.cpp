#include "dialogs/method_dialogs.h"

namespace valdrex {

void ShowOptionsForm(OptionsForm form, MethodOptions& options, QWidget* parent) {
    switch (form) {
    case OptionsForm::None:
        return;
    case OptionsForm::Bairstow:
        ShowBairstowOptions(options, parent);
        return;
    case OptionsForm::Bisection:
        ShowBisectionOptions(options, parent);
        return;
    case OptionsForm::Newton:
        ShowNewtonOptions(options, parent);
        return;
    case OptionsForm::AllRoots:
        ShowAllRootsOptions(options, parent);
        return;
    }
}

} // namespace valdrex
