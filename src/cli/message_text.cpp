#include "cli/message_text.h"

namespace valdrex::cli {
namespace {

std::string BoxName(int power) {
    return power == 0   ? "the constant term"
           : power == 1 ? "the coefficient of x"
                        : "the coefficient of x^" + std::to_string(power);
}

std::string Quoted(std::string_view text, std::size_t limit) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const bool cut = text.size() > limit;
    if (cut)
        text = text.substr(0, limit);
    std::string out = "'";
    out.reserve(text.size() + 6);
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
    if (cut)
        out += "\xE2\x80\xA6"; // …
    out += '\'';
    return out;
}

} // namespace

std::string QuotedForMessage(std::string_view text) {
    return Quoted(text, kEchoedTokenLength);
}

std::string QuotedWhole(std::string_view text) {
    return Quoted(text, std::string_view::npos);
}

std::string InvalidCoefficientMessage(std::string_view text) {
    return "invalid coefficient " + QuotedForMessage(text);
}

std::string TooManyCoefficientsMessage(int count, int limit) {
    return "too many coefficients (" + std::to_string(count) + "; at most " +
           std::to_string(limit) + ")";
}

std::string UnreadCoefficientMessage(int power, std::string_view text, ReadFault why) {
    const std::string where = BoxName(power) + " (" + QuotedForMessage(text) + ")";
    switch (why) {
    case ReadFault::ZeroDenominator:
        return "Division by 0 in " + where;
    case ReadFault::BeyondRange:
        return where + " is beyond the 32-bit range these methods use; --method all takes any size";
    case ReadFault::CommonDenominatorBeyondRange:
        break;
    }
    return "the common denominator of the coefficients is beyond the 32-bit range these methods "
           "use (at " +
           where + "); --method all takes any size";
}

} // namespace valdrex::cli
