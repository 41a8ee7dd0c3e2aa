#include "cli/json_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace valdrex::cli {
namespace {

// Length of the valid UTF-8 sequence starting at text[i], or 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // no overlong forms
        if (lead == 0xED)
            high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F; // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    if (byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    return length;
}

// The bytes that stand for themselves in a JSON string: printable ASCII but the quote and the
// backslash. A table, as the scan looks at every byte of the output.
constexpr std::array<bool, 256> kPlain = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x7F; ++c)
        plain[c] = c != '"' && c != '\\';
    return plain;
}();

// Whether any of the 8 bytes of `w` may not stand for itself: below 0x20, 0x7F and above, the
// quote or the backslash. Never false for such a byte; rarely true without one.
bool MayNeedEscaping(std::uint64_t w) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    const auto hasZeroByte = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighBits; };
    const std::uint64_t belowBlank = (w - kOnes * 0x20) & ~w & kHighBits;
    return (belowBlank | (w & kHighBits) | hasZeroByte(w ^ (kOnes * 0x7F)) |
            hasZeroByte(w ^ (kOnes * '"')) | hasZeroByte(w ^ (kOnes * '\\'))) != 0;
}

} // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += '"';
    // Characters that stand as they are (valid UTF-8 sequences among them) are copied in runs.
    std::size_t runStart = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.size() - i >= 8) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, sizeof word);
            if (!MayNeedEscaping(word)) {
                i += 8;
                continue;
            }
        }
        const auto c = static_cast<unsigned char>(text[i]);
        if (kPlain[c]) {
            ++i;
            continue;
        }
        if (const std::size_t length = c >= 0x80 ? Utf8SequenceLength(text, i) : 0) {
            i += length;
            continue;
        }
        out.append(text.data() + runStart, i - runStart);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x80) {
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += "\\uFFFD";
        }
        runStart = ++i;
    }
    out.append(text.data() + runStart, i - runStart);
    out += '"';
}

void AppendJsonNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char buffer[32];
    // Negative zero is zero here as in every other text of the program.
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value == 0 ? 0.0 : value);
    out.append(buffer, result.ptr);
}

} // namespace valdrex::cli
