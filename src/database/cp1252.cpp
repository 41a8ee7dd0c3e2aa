#include "database/cp1252.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <unordered_map>

namespace valdrex {
namespace {

struct Cp1252Tables {
    std::array<std::string, 256> utf8;          // byte -> its character in UTF-8
    std::unordered_map<char32_t, char> byteFor; // character -> byte
};

// Built once from the system converter. A byte the converter cannot take through a round trip
// keeps its Latin-1 code point, so the viewer never changes a byte it did not edit.
Cp1252Tables BuildTables() {
    Cp1252Tables tables;
    QStringDecoder decoder("windows-1252", QStringConverter::Flag::Stateless);
    QStringEncoder encoder("windows-1252", QStringConverter::Flag::Stateless);
    for (int b = 0; b < 256; ++b) {
        const QByteArray byte(1, static_cast<char>(b));
        char32_t codePoint = static_cast<char32_t>(b);
        if (decoder.isValid() && encoder.isValid()) {
            const QString decoded = decoder.decode(byte);
            if (decoded.size() == 1 && !decoded[0].isSurrogate() &&
                QByteArray(encoder.encode(decoded)) == byte)
                codePoint = decoded[0].unicode();
        }
        tables.utf8[b] = QString::fromUcs4(&codePoint, 1).toStdString();
        tables.byteFor.emplace(codePoint, static_cast<char>(b));
    }
    return tables;
}

const Cp1252Tables& Tables() {
    static const Cp1252Tables tables = BuildTables();
    return tables;
}

} // namespace

std::string EncodeCp1252(std::string_view utf8) {
    const auto& byteFor = Tables().byteFor;
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    std::string bytes;
    bytes.reserve(utf8.size());
    for (const char32_t codePoint : text.toUcs4()) {
        const auto found = byteFor.find(codePoint);
        bytes += found != byteFor.end() ? found->second : '?';
    }
    return bytes;
}

std::string DecodeCp1252(std::string_view bytes) {
    const auto& utf8 = Tables().utf8;
    std::string text;
    text.reserve(bytes.size());
    for (const char byte : bytes)
        text += utf8[static_cast<unsigned char>(byte)];
    return text;
}

} // namespace valdrex
