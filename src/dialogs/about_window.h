#pragma once

#include "model/module_state.h"

class QWidget;

namespace valdrex {

// The modal About window: the program's icon, title, version and credits, and readme.txt from
// the program's folder.
void ShowAbout(const ModuleState& state, QWidget* parent);

} // namespace valdrex
