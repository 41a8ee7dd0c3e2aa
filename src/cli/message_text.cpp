#include "cli/message_text.h"

namespace valdrex::cli {

std::string QuotedForMessage(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "'";
    out.reserve(text.size() + 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (byte >= 0x20 && byte < 0x7F) {
            out += c;
        } else {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
    out += '\'';
    return out;
}

std::string InvalidCoefficientMessage(std::string_view text) {
    return "invalid coefficient " + QuotedForMessage(text);
}

std::string TooManyCoefficientsMessage(int count, int limit) {
    return "too many coefficients (" + std::to_string(count) + "; at most " +
           std::to_string(limit) + ")";
}

std::string ZeroDenominatorMessage(int power, std::string_view text) {
    const std::string box = power == 0   ? "the constant term"
                            : power == 1 ? "the coefficient of x"
                                         : "the coefficient of x^" + std::to_string(power);
    return "Division by 0 in " + box + " (" + QuotedForMessage(text) + ")";
}

} // namespace valdrex::cli
