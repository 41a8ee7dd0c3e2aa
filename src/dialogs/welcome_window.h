#pragma once

#include "model/module_state.h"
#include "model/settings_store.h"

namespace valdrex {

// The start of the program: composes VersionText and CommentText, reads the "Welcome" setting
// into state.ShowWelcome and, when it is on, shows the welcome window until it is closed.
// Returns whether the program goes on to its main window: true when the window is not wanted
// or was closed with OK, false when it was closed any other way.
bool RunWelcome(ModuleState& state, const SettingsStore& store);

} // namespace valdrex
