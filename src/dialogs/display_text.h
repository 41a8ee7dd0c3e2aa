#pragma once

#include <QString>

#include <string_view>

namespace valdrex {

// A text of the program (UTF-8, lines ending with CR LF) as a widget shows it: one line
// break per CR LF.
QString DisplayText(std::string_view text);

} // namespace valdrex
