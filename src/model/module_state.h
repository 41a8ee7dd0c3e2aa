#pragma once

#include "core/test_number.h"
#include "solvers/approx/method_options.h"

#include <string>

namespace valdrex {

// State shared by every window: the settings, the method options and the values handed
// between windows.
struct ModuleState {
    std::string DatabaseFile;
    int SaveEquations = 1;
    int OverwriteFile = 0;
    int EvaluateSymbolically = 1;
    int ShowWelcome = 1;
    bool ErrorFlag = false;
    MethodOptions Options;
    TestCoefficients TestCoef{};
    std::string VersionText;
    std::string CommentText;
};

} // namespace valdrex
