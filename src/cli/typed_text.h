#pragma once

#include "core/coefficient_text.h"

#include <optional>
#include <string>
#include <string_view>

namespace valdrex::cli {

// The text a number box would hold after `keys` were typed into it from empty, one key at a
// time with the caret at the end, under the box's key rule (Backspace erases); nothing when the
// rule drops a key.
std::optional<std::string> TypedText(KeyRule rule, std::string_view keys);

} // namespace valdrex::cli
