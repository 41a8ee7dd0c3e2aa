#include "core/root_text.h"

#include "core/equation_text.h"

namespace valdrex {

void AppendPairText(std::string& out, std::string_view realText, std::string_view imagText,
                    bool upper) {
    out += realText;
    if (!upper || !realText.empty())
        out += upper ? '+' : '-';
    out += imagText;
    out += 'i';
}

std::string UpperPairText(std::string_view realText, std::string_view imagText) {
    std::string text;
    AppendPairText(text, realText, imagText, true);
    return text;
}

std::string LowerPairText(std::string_view realText, std::string_view imagText) {
    std::string text;
    AppendPairText(text, realText, imagText, false);
    return text;
}

std::size_t WriteQuadraticRoot(std::string& text, const QuadraticRootParts& p) {
    text.clear();
    // The numbers of a real root's rational part have a blank for their plus sign; a pair's not.
    const bool blanked = !p.complex;
    if (!p.numerator.empty()) {
        if (blanked && p.numerator[0] != '-')
            text += ' ';
        text += p.numerator;
        if (!p.denominator.empty()) {
            text += blanked ? "/ " : "/";
            text += p.denominator;
        }
    }
    const std::size_t signAt = text.size();
    text += p.complex && p.radicand.empty() ? "+" : "+ ";
    text += p.factor;
    if (p.complex)
        text += 'i';
    if (!p.radicand.empty()) {
        if (p.complex || !p.factor.empty())
            text += kMiddleDot;
        text.append("Sqr(").append(p.radicand).append(")");
    }
    if (!p.divisor.empty())
        text.append(" /").append(p.divisor);
    return signAt;
}

} // namespace valdrex
