#pragma once

#include "model/method_table.h"
#include "solvers/approx/method_options.h"

class QWidget;

namespace valdrex {

// Shows the options form of `row`'s method, built from its description in the table of methods.
// On opening, the texts of the form's boxes go back to their defaults and OptionsConfirmed to
// false; OK copies the boxes' texts as they stand and sets OptionsConfirmed, any other way of
// closing leaves it false. Returns whether the form was closed with OK; a method without a
// form asks nothing and leaves the options as they are (true).
bool ShowMethodOptions(const MethodRow& row, MethodOptions& options, QWidget* parent);

} // namespace valdrex
