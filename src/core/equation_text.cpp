#include "core/equation_text.h"

#include "core/number_text.h"

namespace valdrex {
namespace {

// The normalised coefficient. A text without "/" and "." only loses its blanks, so it is used
// in place; the others are normalised into `storage`.
std::string_view Normalized(std::string_view unblanked, std::string& storage) {
    bool plain = true;
    for (const char c : unblanked)
        plain = plain && c != '/' && c != '.';
    if (plain) {
        const auto last = unblanked.find_last_not_of(' ');
        return last == std::string_view::npos ? std::string_view{} : unblanked.substr(0, last + 1);
    }
    storage = NormalizeCoefficient(unblanked);
    return storage;
}

// "x" or "x^" and the power.
void AppendPower(std::string& s, int power) {
    s += 'x';
    if (power >= 2) {
        s += '^';
        if (power >= 10)
            s += static_cast<char>('0' + power / 10);
        s += static_cast<char>('0' + power % 10);
    }
}

bool IsSign(char c) {
    return c == '+' || c == '-';
}

// Appends as SpaceSigns would leave it: a sign after the first character is set apart.
void AppendSpaced(std::string& s, std::string_view piece) {
    bool signToSpace = false;
    for (std::size_t i = s.empty() ? 1 : 0; i < piece.size(); ++i)
        signToSpace = signToSpace || IsSign(piece[i]);
    if (!signToSpace) {
        s += piece; // as for most coefficients
        return;
    }
    for (const char c : piece) {
        if (IsSign(c) && !s.empty()) {
            s += ' ';
            s += c;
            s += ' ';
        } else {
            s += c;
        }
    }
}

// The sign (-1, 0 or 1) of a short whole number such as "-17", the usual coefficient, seen
// without the general reading; 2 for any other text.
int PlainSign(std::string_view c) {
    const bool negative = !c.empty() && c[0] == '-';
    if (c.size() <= static_cast<std::size_t>(negative) || c.size() > 15)
        return 2;
    bool zero = true;
    for (std::size_t i = negative; i < c.size(); ++i) {
        if (c[i] < '0' || c[i] > '9')
            return 2;
        zero = zero && c[i] == '0';
    }
    return zero ? 0 : negative ? -1 : 1;
}

// Appends the term of one coefficient to the equation text being built, signs already spaced.
// A "+" that would open the text is left out, as the text never starts with one.
void AppendTerm(std::string& s, std::string_view c, int power) {
    const int sign = PlainSign(c);
    const double value = sign != 2 ? sign : TextToNumber(c);
    if (value == 0)
        return;
    if (c == "1" || c == "-1") {
        if (c[0] == '-')
            AppendSpaced(s, "-");
        else if (!s.empty())
            s += " + ";
        if (power == 0)
            s += '1';
        else
            AppendPower(s, power);
        return;
    }
    if (value > 0 && !s.empty())
        s += " + ";
    AppendSpaced(s, c);
    if (power > 0) {
        s += kMiddleDot;
        AppendPower(s, power);
    }
}

// SpaceSigns without a second string: the text grows and is filled from its end.
void SpaceSignsInPlace(std::string& s) {
    std::size_t signs = 0;
    for (std::size_t i = 1; i < s.size(); ++i)
        signs += IsSign(s[i]) ? 1 : 0;
    if (signs == 0)
        return;
    std::size_t from = s.size();
    s.resize(s.size() + 2 * signs);
    std::size_t to = s.size();
    while (from > 1) {
        const char c = s[--from];
        if (IsSign(c)) {
            s[--to] = ' ';
            s[--to] = c;
            s[--to] = ' ';
        } else {
            s[--to] = c;
        }
    }
}

} // namespace

void WriteEquationText(const CoefficientTexts& coefficients, std::string& s) {
    s.clear();
    std::string storage;
    for (int i = kCoefficientCount - 1; i >= 0; --i) {
        const std::string& text = coefficients[i];
        if (text.size() == 1 && text[0] == '0')
            continue; // the most common box contributes nothing
        const auto firstNonBlank = text.find_first_not_of(' ');
        const std::string_view unblanked = firstNonBlank == std::string::npos
                                               ? std::string_view{}
                                               : std::string_view(text).substr(firstNonBlank);
        AppendTerm(s, Normalized(unblanked, storage), i);
    }
    s += s.empty() ? "0 = 0" : " = 0";
}

std::string EquationText(const CoefficientTexts& coefficients) {
    std::string s;
    s.reserve(64);
    WriteEquationText(coefficients, s);
    return s;
}

std::string SpaceSigns(std::string_view text) {
    std::string out(text);
    SpaceSignsInPlace(out);
    return out;
}

std::string RemoveSpaces(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        if (c != ' ')
            out += c;
    return out;
}

} // namespace valdrex
