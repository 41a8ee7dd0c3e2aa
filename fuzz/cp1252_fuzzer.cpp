// The database file's code page: every byte string decodes and encodes back to itself, and
// any text encodes to one byte per character.

#include "database/cp1252.h"
#include "fuzz_check.h"

#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace valdrex;
    using namespace valdrex::fuzz;
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // Bytes read from the file: one character each, valid UTF-8, back to the same bytes.
    const std::string text = DecodeCp1252(bytes);
    Require(QString::fromStdString(text).toStdString() == text);
    Require(QString::fromStdString(text).toUcs4().size() == static_cast<qsizetype>(size));
    Require(EncodeCp1252(text) == bytes);

    // The same input taken as an edited text: one byte per character, and what is written
    // reads back as the text that will be written again.
    const std::string encoded = EncodeCp1252(bytes);
    Require(static_cast<qsizetype>(encoded.size()) ==
            QString::fromUtf8(bytes.data(), static_cast<qsizetype>(size)).toUcs4().size());
    Require(EncodeCp1252(DecodeCp1252(encoded)) == encoded);
    return 0;
}
