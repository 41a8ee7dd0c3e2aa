#pragma once

#include <string>
#include <string_view>

namespace valdrex {

// How a number cut short is read: a sign or a point without digits ("+", "-."), an exponent
// without digits before or after it ("e5", "1e"), a number followed by a point or an exponent
// ("1.2.3", "1e5e6"). The grid's reading stops before what does not fit ("1e" is 1, "e5" and
// "+" are 0); the exact reading says the text is no number.
enum class CutShort { EndsTheNumber, IsNoNumber };

// The leading number of a text: blanks, tabs and line feeds skipped wherever they stand, then an
// optional sign, digits with at most one ".", and an optional exponent ("E", "e", "D" or "d", an
// optional sign, digits), reading stopping at the first character that does not continue it.
struct LeadingNumber {
    bool cutShort = false; // with CutShort::IsNoNumber: the text is no number
    bool negative = false;
    std::string digits; // the significant digits, without leading zeros; none for 0
    long exponent = 0;  // the value is ±digits·10^exponent (an exponent's digits are read up
                        // to far beyond any double or limit, then held there)
    // Only where fewer digits are kept than the text has (TextToNumber keeps those that decide
    // a double): whether a digit left out was not 0.
    bool droppedNonZero = false;
};
LeadingNumber ReadLeadingNumber(std::string_view text, CutShort rule);

// The leading number of a text as the grid reads it (CutShort::EndsTheNumber); a text without
// a number gives 0. A magnitude beyond the Double range fails with Overflow.
double TextToNumber(std::string_view text);
// TextToNumber of the text with every "." taken out.
double TextToNumberWithoutPoints(std::string_view text);

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
