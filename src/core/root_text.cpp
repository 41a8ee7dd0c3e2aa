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

char* WriteQuadraticRoot(char* out, const QuadraticRootParts& p, std::size_t& signAt) {
    char* const start = out;
    // Pieces of a few characters each: a loop costs less than a call to copy them.
    const auto put = [&out](std::string_view piece) {
        for (const char c : piece)
            *out++ = c;
    };
    // The numbers of a real root's rational part have a blank for their plus sign; a pair's not.
    const bool blanked = !p.complex;
    if (!p.numerator.empty()) {
        if (blanked && p.numerator[0] != '-')
            *out++ = ' ';
        put(p.numerator);
        if (!p.denominator.empty()) {
            put(blanked ? "/ " : "/");
            put(p.denominator);
        }
    }
    signAt = static_cast<std::size_t>(out - start);
    put(p.complex && p.radicand.empty() ? "+" : "+ ");
    put(p.factor);
    if (p.complex)
        *out++ = 'i';
    if (!p.radicand.empty()) {
        if (p.complex || !p.factor.empty())
            put(kMiddleDot);
        put("Sqr(");
        put(p.radicand);
        *out++ = ')';
    }
    if (!p.divisor.empty()) {
        put(" /");
        put(p.divisor);
    }
    return out;
}

std::size_t WriteQuadraticRoot(std::string& text, const QuadraticRootParts& p) {
    text.resize(QuadraticRootRoom(p));
    std::size_t signAt = 0;
    text.resize(static_cast<std::size_t>(WriteQuadraticRoot(text.data(), p, signAt) - text.data()));
    return signAt;
}

} // namespace valdrex
