#pragma once

#include <array>
#include <string>
#include <string_view>

namespace valdrex {

inline constexpr int kCoefficientCount = 13;
// Texts of the coefficient boxes; index i holds the coefficient of x^i.
using CoefficientTexts = std::array<std::string, kCoefficientCount>;

// The canonical form of one coefficient text: a whole number, or a reduced fraction "n/d".
// Texts without "/" and "." only lose their outer blanks. Fails with Division by zero for
// 0/0 and with Overflow for values beyond 32 bits.
std::string NormalizeCoefficient(std::string_view text);

// The variants of the numeric-entry key rule.
enum class KeyRule { Grid, SignedDecimal, Increment, AccuracyDigit };

inline constexpr char32_t kBackspace = 8;

// Whether a typed character is accepted by a number box holding `text` with the caret at
// `caret` (the selection start, in characters). The whole current text is looked at, not the
// part the key would replace.
bool FilterNumericKey(KeyRule rule, char32_t key, std::string_view text, int caret);

// Removes the blanks at both ends.
std::string TrimBlanks(std::string_view text);

// The box of the coefficient of x^power as messages name it: "the constant term", "the
// coefficient of x", "the coefficient of x^5".
std::string CoefficientName(int power);

// Length in characters of a UTF-8 text.
int CharacterCount(std::string_view text);

// Which rules a paste must follow: the annotation box takes anything, the test input refuses
// fractions, every other box takes the coefficient rules.
enum class PasteTarget { Note, Input, Coefficient };

// A number that the grid's reading and the exact reading read alike, wherever the grid's 32
// bits hold its value: an optional "-", digits, and at most one "." or one "/" between digits;
// at least one digit.
bool IsPlainNumber(std::string_view text);

// Whether `text` has the shape of a number for the target box: digits, "-" only first, at most
// one ".", at most one "/" neither first nor last (none for the test input).
bool IsPastableNumber(std::string_view text, PasteTarget target);

} // namespace valdrex
