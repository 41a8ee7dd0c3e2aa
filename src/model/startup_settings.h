#pragma once

#include "model/module_state.h"
#include "model/settings_store.h"

#include <string>

namespace valdrex {

// Where the program runs: its folder and name, and the user's home folder.
struct AppEnvironment {
    std::string programFolder;
    std::string executableName;
    std::string homeFolder;
};

// The main window's load: reads the settings, makes the default database path when none is
// stored (changing the current folder to the home folder) and creates the database file.
// Failures fall back silently to the program folder's database file. Returns whether the
// window's title is to be set (false when a failure came before that step).
bool LoadMainSettings(ModuleState& state, const SettingsStore& store, const AppEnvironment& env);

// The main window's close: stores the settings in their fixed order.
void StoreMainSettings(const ModuleState& state, SettingsStore& store);

// "Welcome" as an integer, default 1.
int ReadShowWelcome(const SettingsStore& store);

} // namespace valdrex
