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
    text.resize(QuadraticRootRoom(p));
    std::size_t signAt = 0;
    text.resize(static_cast<std::size_t>(WriteQuadraticRoot(text.data(), p, signAt) - text.data()));
    return signAt;
}

} // namespace valdrex
