#pragma once

#include <string_view>

namespace valdrex {

// A text that is only an optional sign and 1 to 18 digits, the usual box, read without big
// numbers.
bool ReadPlainInteger(std::string_view text, long& value);

} // namespace valdrex
