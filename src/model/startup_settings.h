#pragma once

#include "model/module_state.h"
#include "model/settings_store.h"

#include <string>

namespace valdrex {

// Where the program runs: the user's data folder for it, its name, and the user's home folder.
struct AppEnvironment {
    std::string dataFolder;
    std::string executableName;
    std::string homeFolder;
};

// The main window's load: reads the settings, makes the default database path when none is
// stored (changing the current folder to the home folder) and creates the database file.
// Failures fall back silently to a database file in the data folder, created when needed
// (the program's own folder is usually read-only). Returns whether the
// window's title is to be set (false when a failure came before that step).
bool LoadMainSettings(Settings& state, const SettingsStore& store, const AppEnvironment& env);

// The main window's close: stores the settings in their fixed order.
void StoreMainSettings(const Settings& state, SettingsStore& store);

// "Welcome", on when its integer is 1 (the default); a text that is no number is off.
bool ReadShowWelcome(const SettingsStore& store);

} // namespace valdrex
