#pragma once

#include <string>
#include <string_view>

namespace valdrex {

// The characters of the UTF-8 text that the database file's code page cannot store (they are
// written as "?"), each once, in the order they first occur.
std::string UnstorableCharacters(std::string_view utf8);

} // namespace valdrex
