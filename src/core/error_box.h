#pragma once

#include "core/failure.h"

#include <string>

namespace valdrex {

// The application's title, used for settings, captions and message boxes.
inline constexpr char kAppTitle[] = "Valdrex";

enum class BoxIcon { None, Critical };

// A message box to show: its text, icon and title. Windows display it; nothing here shows it.
struct ErrorBox {
    std::string text;
    BoxIcon icon = BoxIcon::None;
    std::string title;

    bool operator==(const ErrorBox&) const = default;
};

// "n. description", no icon, the application's title.
ErrorBox PlainErrorBox(const RuntimeFailure& failure);
// "Error n. description", critical icon, the application's title.
ErrorBox CriticalErrorBox(const RuntimeFailure& failure);
// "Error  n. description" (the number with its sign place), critical icon, title "Error".
ErrorBox SolverErrorBox(const RuntimeFailure& failure);
// The help command's box: the plain text with the critical icon and the application's title.
ErrorBox HelpErrorBox(const RuntimeFailure& failure);
// The rational-root solver's box: the plain text with the critical icon and title "Error".
ErrorBox RationalErrorBox(const RuntimeFailure& failure);

} // namespace valdrex
