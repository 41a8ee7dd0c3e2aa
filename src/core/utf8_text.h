#pragma once

// UTF-8 read and written one character at a time.

#include <cstddef>
#include <string>
#include <string_view>

namespace valdrex {

// The character of `text` that starts at byte `at`, and its length in bytes; length 0 when the
// bytes there are no UTF-8 (a stray or missing continuation byte, an overlong form, a surrogate,
// beyond U+10FFFF).
struct Utf8Character {
    char32_t value = 0;
    std::size_t length = 0;
};
Utf8Character DecodeUtf8(std::string_view text, std::size_t at);

// Appends the UTF-8 bytes of a character (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t c);

} // namespace valdrex
