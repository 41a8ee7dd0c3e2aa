#pragma once

#include "model/module_state.h"

class QWidget;

namespace valdrex {

// The modal "Test many numbers" window: P (from state.TestCoef, filled by the caller) at up to
// ten numbers, typed or made from an initial value and an increment.
void ShowTestManyNumbers(ModuleState& state, QWidget* parent);

} // namespace valdrex
