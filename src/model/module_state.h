#pragma once

#include "core/working_polynomial.h"
#include "solvers/approx/method_options.h"

#include <string>

namespace valdrex {

// The settings kept between runs: read when the program starts, changed by Preferences,
// stored when the main window closes.
struct Settings {
    bool SaveEquations = true;        // every solve command appends a record
    bool OverwriteFile = false;       // writing a record empties the file first
    bool EvaluateSymbolically = true; // quadratic roots in symbolic form
    bool ShowWelcome = true;          // the welcome window waits for OK at start-up
    std::string DatabaseFile;
};

// The values one window hands to another during a run.
struct HandoverValues {
    bool ErrorFlag = false; // writing the equation or a record failed; Update stops
    MethodOptions Options;
    TestCoefficients TestCoef{};
    std::string VersionText;
    std::string CommentText;
};

// State shared by every window.
struct ModuleState : Settings, HandoverValues {};

} // namespace valdrex
