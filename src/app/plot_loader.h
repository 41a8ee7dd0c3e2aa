#pragma once

#include "core/coefficient_text.h"
#include "core/failure.h"
#include "model/settings_store.h"

#include <optional>

class QWidget;

namespace valdrex {

// Opens the plot window, loading its module from beside the program the first time. Returns
// the box to show when the module cannot be loaded.
std::optional<ErrorBox> OpenPlot(const CoefficientTexts& texts, SettingsStore& store,
                                 QWidget* parent);
// Passes the grid to the plot window; nothing happens before the plot was first opened.
void FollowPlot(const CoefficientTexts& texts);

} // namespace valdrex
