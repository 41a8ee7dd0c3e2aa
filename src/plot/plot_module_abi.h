#pragma once

#include "core/coefficient_text.h"
#include "model/settings_store.h"

class QWidget;

// The entry points of the loadable module holding the plot window. The program loads it when
// the plot first opens, so that the plotting and root-finding libraries cost nothing at start.
// Both sides are built together, so the module's functions take the program's own types.

// The module's file name, looked for beside the executable.
inline constexpr char kPlotModuleFileName[] = "valdrex-plot.so";
inline constexpr char kShowPlotSymbol[] = "valdrex_show_plot";
inline constexpr char kUpdatePlotSymbol[] = "valdrex_update_plot";

// Opens the one plot window over `parent` showing the grid's texts, or brings it to the front;
// its size and position are kept in `store`.
using ShowPlotFunction = void(const valdrex::CoefficientTexts& texts, valdrex::SettingsStore& store,
                              QWidget* parent);
// Lets the plot window, when open, follow the grid without taking the focus.
using UpdatePlotFunction = void(const valdrex::CoefficientTexts& texts);
