#pragma once

#include "core/failure.h"

class QWidget;

namespace valdrex {

// Shows an error message box (its text, icon and title, an OK button) and waits for it.
void ShowErrorBox(const ErrorBox& box, QWidget* parent);

} // namespace valdrex
