#pragma once

#include "core/failure.h"

#include <optional>
#include <string>

class QWidget;

namespace valdrex {

// Opens the help file in the program's data folder at its contents page, in the program's one
// help window (not modal). A file that cannot be read gives the box to show instead.
std::optional<ErrorBox> ShowHelp(QWidget* parent);
// The same for the help file at `path`.
std::optional<ErrorBox> ShowHelpFile(const std::string& path, QWidget* parent);

} // namespace valdrex
