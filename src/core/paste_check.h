#pragma once

#include <string_view>

namespace valdrex {

// Which rules a paste must follow: the annotation box takes anything, the test input refuses
// fractions, every other box takes the coefficient rules.
enum class PasteTarget { Note, Input, Coefficient };

// Whether `text` has the shape of a number for the target box: digits, "-" only first, at most
// one ".", at most one "/" neither first nor last (none for the test input).
bool IsPastableNumber(std::string_view text, PasteTarget target);

} // namespace valdrex
