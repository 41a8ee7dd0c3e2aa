#pragma once

#include <string>
#include <string_view>

namespace valdrex {

// The leading number of a text: blanks, tabs and line feeds are skipped wherever they stand,
// then an optional sign, digits, one "." and an optional exponent ("E" or "D") are read.
// A text without a number gives 0. A magnitude beyond the Double range fails with Overflow.
double TextToNumber(std::string_view text);

// 15 significant digits, no "0" before the point of a value between -1 and 1, and a blank in
// place of the sign of a non-negative value (" 2", "-2.5", " .5", " 1E-10").
std::string NumberToStr(double value);
// The same digits without the leading blank and with "0" before the point ("0.5", "-0.25").
std::string NumberToText(double value);
// As NumberToStr and NumberToText for a single-precision value: 7 significant digits.
std::string NumberToStr(float value);
std::string NumberToText(float value);

// The same texts appended to `out`, without a string of their own.
void AppendNumberToStr(std::string& out, double value);
void AppendNumberToText(std::string& out, double value);
void AppendNumberToStr(std::string& out, float value);
void AppendNumberToText(std::string& out, float value);

} // namespace valdrex
