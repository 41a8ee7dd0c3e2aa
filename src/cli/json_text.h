#pragma once

#include <string>
#include <string_view>

namespace valdrex::cli {

// Appends `text` as a JSON string: quotes, backslashes and control characters escaped (controls
// as \u00XX); a byte that is not part of valid UTF-8 becomes \uFFFD, so the output is always
// valid JSON whatever bytes came in.
void AppendJsonString(std::string& out, std::string_view text);

// Appends a number in its shortest exact form; a value that is not finite becomes null.
void AppendJsonNumber(std::string& out, double value);

} // namespace valdrex::cli
