#pragma once

#include <string>
#include <string_view>

namespace valdrex {

// Conversions between the program's UTF-8 texts and the database file's Windows-1252 bytes.
// Every byte decodes to one character and encodes back to the same byte, including the five
// bytes the code page leaves undefined (they stand for U+0081, U+008D, U+008F, U+0090, U+009D).

// One byte per character; characters the code page lacks become "?". Never longer than the text.
std::string EncodeCp1252(std::string_view utf8);
// The same bytes appended to `bytes`.
void AppendCp1252(std::string& bytes, std::string_view utf8);
// One character per byte.
std::string DecodeCp1252(std::string_view bytes);

// The characters of the UTF-8 text that the database file's code page cannot store (they are
// written as "?"), each once, in the order they first occur.
std::string UnstorableCharacters(std::string_view utf8);

} // namespace valdrex
