#pragma once

#include "model/method_table.h"
#include "solvers/approx/method_options.h"

class QWidget;

namespace valdrex {

// The methods' options dialogs. Each resets its options to their defaults
// and OptionsConfirmed to false when it opens; OK copies the boxes' texts as they stand and
// sets OptionsConfirmed, any other way of closing leaves it false.
void ShowBairstowOptions(MethodOptions& options, QWidget* parent);
void ShowBisectionOptions(MethodOptions& options, QWidget* parent);
void ShowNewtonOptions(MethodOptions& options, QWidget* parent);
// The all-roots method's dialog: the number of significant digits, 1 to 30.
void ShowAllRootsOptions(MethodOptions& options, QWidget* parent);

// The dialog of `form` (nothing for OptionsForm::None).
void ShowOptionsForm(OptionsForm form, MethodOptions& options, QWidget* parent);

} // namespace valdrex
