#include "database/unstorable_characters.h"

#include "database/cp1252.h"

namespace valdrex {
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
