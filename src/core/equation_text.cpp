#include "core/equation_text.h"

#include "core/number_text.h"

namespace valdrex {
namespace {

std::string Term(const std::string& c, int power) {
    const double value = TextToNumber(c);
    if (value == 0)
        return {};
    const std::string x = power == 0 ? "" : power == 1 ? "x" : "x^" + std::to_string(power);
    if (c == "1" || c == "-1") {
        const std::string sign = c == "1" ? "+" : "-";
        return sign + (power == 0 ? "1" : x);
    }
    std::string term = value > 0 ? "+" + c : c;
    if (power > 0)
        term.append(kMiddleDot).append(x);
    return term;
}

} // namespace

std::string EquationText(const CoefficientTexts& coefficients) {
    std::string s;
    for (int i = kCoefficientCount - 1; i >= 0; --i) {
        const std::string& text = coefficients[i];
        const auto firstNonBlank = text.find_first_not_of(' ');
        const std::string_view unblanked =
            firstNonBlank == std::string::npos ? std::string_view{}
                                               : std::string_view(text).substr(firstNonBlank);
        s += Term(NormalizeCoefficient(unblanked), i);
    }
    if (!s.empty() && s[0] == '+')
        s.erase(0, 1);
    s = s.empty() ? "0 = 0" : s + " = 0";
    return SpaceSigns(s);
}

std::string SpaceSigns(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (i > 0 && (c == '+' || c == '-')) {
            out += ' ';
            out += c;
            out += ' ';
        } else {
            out += c;
        }
    }
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
