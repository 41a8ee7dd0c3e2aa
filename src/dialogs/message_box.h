#pragma once

#include "core/failure.h"

#include <string>

class QWidget;

namespace valdrex {

// Shows an error message box (its text, icon and title, an OK button) and waits for it.
void ShowErrorBox(const ErrorBox& box, QWidget* parent);

// Before a save of `utf8` into the database file: when the file's code page cannot store some
// of its characters, asks whether to save them as "?" anyway. True when the save goes ahead.
bool AcceptUnstorableCharacters(const std::string& utf8, QWidget* parent);

} // namespace valdrex
