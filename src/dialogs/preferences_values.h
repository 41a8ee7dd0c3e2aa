#pragma once

#include <string>

namespace valdrex {

// The switches and the database path that the Preferences dialog shows and changes.
struct PreferenceValues {
    int SaveEquations;        // 1: every solve command appends a record
    int OverwriteFile;        // nonzero: writing a record empties the file first
    int EvaluateSymbolically; // 1: quadratic roots in symbolic form
    int ShowWelcome;          // 1: the welcome window waits for OK at start-up
    std::string DatabaseFile;
};

} // namespace valdrex
