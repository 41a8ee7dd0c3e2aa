#include "database/cp1252.h"

#include <array>
#include <cstdint>

namespace valdrex {
namespace {

// Bytes 0x80 to 0x9F; every other byte is the Latin-1 character of the same number. The five
// bytes the code page leaves undefined keep their Latin-1 control characters, so the viewer
// never changes a byte it did not edit.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CharacterOf(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char32_t{byte};
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The byte for a character, or '?' when the code page lacks it.
char ByteFor(char32_t c) {
    if (c < 0x100 && CharacterOf(static_cast<unsigned char>(c)) == c)
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Reads one well-formed UTF-8 sequence at `at`, advancing past it. A byte that starts no
// well-formed sequence (stray, overlong, surrogate, beyond U+10FFFF, cut short) is one
// replacement character, and reading goes on at the next byte.
char32_t NextCharacter(std::string_view text, std::size_t& at) {
    constexpr char32_t kReplacement = 0xFFFD;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range allowed for the second byte
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        ++at;
        return kReplacement;
    }
    if (text.size() - at < length || byte(at + 1) < low || byte(at + 1) > high) {
        ++at;
        return kReplacement;
    }
    char32_t c = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuation(byte(at + i))) {
            ++at;
            return kReplacement;
        }
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    at += length;
    return c;
}

} // namespace

std::string EncodeCp1252(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    AppendCp1252(bytes, utf8);
    return bytes;
}

void AppendCp1252(std::string& bytes, std::string_view utf8) {
    // A leading byte-order mark tells the encoding; it is no character of the text.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    const std::size_t start = utf8.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    for (std::size_t at = start; at < utf8.size();)
        bytes += ByteFor(NextCharacter(utf8, at));
}

std::string DecodeCp1252(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char byte : bytes)
        AppendUtf8(text, CharacterOf(static_cast<unsigned char>(byte)));
    return text;
}

namespace {

bool IsContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

std::string UnstorableCharacters(std::string_view utf8) {
    std::string found;
    for (std::size_t start = 0, end = 0; start < utf8.size(); start = end) {
        end = start + 1;
        while (end < utf8.size() && IsContinuationByte(utf8[end]))
            ++end;
        const std::string_view character = utf8.substr(start, end - start);
        if (character != "?" && EncodeCp1252(character) == "?" &&
            found.find(character) == std::string::npos)
            found += character;
    }
    return found;
}

} // namespace valdrex
