#include "dialogs/database_text.h"

#include "core/failure.h"
#include "database/cp1252.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

// The file's side of the database text: its bytes read and indexed by line, shown as text,
// searched, and written back.

namespace valdrex {
namespace {

constexpr char16_t kCarriageReturnSymbol = 0x240D;
constexpr char16_t kLineFeedSymbol = 0x240A;

// How each byte of the file is shown: its code-page character, lone CR and LF as symbols.
const std::array<QChar, 256>& ShownCharacters() {
    static const std::array<QChar, 256> table = [] {
        std::array<QChar, 256> shown{};
        for (int b = 0; b < 256; ++b)
            shown[b] =
                QString::fromStdString(DecodeCp1252(std::string(1, static_cast<char>(b)))).front();
        shown['\r'] = QChar(kCarriageReturnSymbol);
        shown['\n'] = QChar(kLineFeedSymbol);
        return shown;
    }();
    return table;
}

// The byte each shown character stands for.
const QHash<char16_t, char>& BytesOfCharacters() {
    static const QHash<char16_t, char> bytes = [] {
        QHash<char16_t, char> map;
        for (int b = 0; b < 256; ++b)
            map.insert(ShownCharacters()[b].unicode(), static_cast<char>(b));
        return map;
    }();
    return bytes;
}

// Each byte's character folded to ignore case, as a byte (itself when the fold leaves the
// code page), so that bytes compare as QString compares without case.
const std::array<char, 256>& FoldedBytes() {
    static const std::array<char, 256> table = [] {
        std::array<char, 256> folded{};
        for (int b = 0; b < 256; ++b)
            folded[b] = BytesOfCharacters().value(ShownCharacters()[b].toCaseFolded().unicode(),
                                                  static_cast<char>(b));
        return folded;
    }();
    return table;
}

char Fold(char byte) {
    return FoldedBytes()[static_cast<unsigned char>(byte)];
}

QString Shown(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char b : bytes)
        *out++ = ShownCharacters()[static_cast<unsigned char>(b)];
    return text;
}

// The line as it is written: symbols back to lone CR and LF; UTF-8, or the file's bytes.
std::string Utf8Written(const QString& shown) {
    QString written = shown;
    written.replace(QChar(kCarriageReturnSymbol), u'\r').replace(QChar(kLineFeedSymbol), u'\n');
    return written.toStdString();
}
std::string BytesWritten(const QString& shown) {
    return EncodeCp1252(Utf8Written(shown));
}

std::optional<qsizetype> FindFolded(std::string_view line, std::string_view folded,
                                    std::size_t from, bool backward) {
    std::optional<qsizetype> found;
    for (std::size_t i = from; i + folded.size() <= line.size(); ++i) {
        std::size_t k = 0;
        while (k < folded.size() && Fold(line[i + k]) == folded[k])
            ++k;
        if (k == folded.size()) {
            found = static_cast<qsizetype>(i);
            if (!backward)
                return found;
        }
    }
    return found;
}

constexpr std::size_t kReadChunk = 4 << 20;
constexpr std::size_t kWriteChunk = 1 << 20;
// Devices and pipes are read only this far (a database kept in /dev/zero never ends).
constexpr std::size_t kMaxSpecialFileBytes = 1 << 20;

// Reads up to `size` bytes; the count read, 0 at the end. Fails with FileFailure.
std::size_t ReadSome(int fd, char* into, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(fd, into, size);
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR)
            FailFile(errno);
    }
}

} // namespace

SearchNeedle::SearchNeedle(const QString& text, bool matchCase)
    : text_(text), sensitivity_(matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive) {
    for (const QChar c : text) {
        const auto byte = BytesOfCharacters().constFind(c.unicode());
        if (byte == BytesOfCharacters().constEnd()) {
            inCodePage_ = false;
            return;
        }
        bytes_ += matchCase ? *byte : Fold(*byte);
    }
}

DatabaseText DatabaseText::Read(int fd, const struct stat& st, std::atomic<std::uint64_t>& progress,
                                const std::atomic<bool>& stop) {
    const bool regular = S_ISREG(st.st_mode);
    // A regular file is read as long as it was: what is appended later is kept by the save.
    // Anything else is read to its end, within a limit.
    std::size_t capacity = regular ? static_cast<std::size_t>(st.st_size) : kMaxSpecialFileBytes;
    auto bytes = std::make_unique_for_overwrite<char[]>(capacity);
    std::size_t size = 0;
    while (size < capacity && !stop) {
        const std::size_t got =
            ReadSome(fd, bytes.get() + size, std::min(kReadChunk, capacity - size));
        if (got == 0)
            break;
        size += got;
        progress += got;
    }
    if (!regular && size == capacity && ReadSome(fd, bytes.get(), 1) != 0)
        FailFile(EFBIG);
    DatabaseText text;
    if (stop)
        return text;
    auto lines = std::make_shared<Lines>();
    text.addSegment(std::move(bytes), size, *lines);
    text.lines_ = lines;
    text.saved_ = lines;
    return text;
}

void DatabaseText::addSegment(std::unique_ptr<char[]> bytes, std::size_t size, Lines& into) {
    const char* const data = bytes.get();
    const auto segment = static_cast<std::uint32_t>(segments_.size());
    segments_.push_back(std::move(bytes));
    std::size_t breaks = 0;
    for (const char* p = data;
         (p = static_cast<const char*>(std::memchr(p, '\n', data + size - p))); ++p)
        breaks += p > data && p[-1] == '\r';
    into.reserve(into.size() + breaks + 1);
    std::size_t start = 0;
    const auto add = [&](std::size_t end) {
        if (end - start > UINT32_MAX)
            FailFile(EFBIG);
        into.push_back({start, static_cast<std::uint32_t>(end - start), segment});
        longestLine_ = std::max(longestLine_, static_cast<qsizetype>(end - start));
    };
    for (const char* p = data;
         (p = static_cast<const char*>(std::memchr(p, '\n', data + size - p))); ++p) {
        const auto at = static_cast<std::size_t>(p - data);
        if (at > start && p[-1] == '\r') {
            add(at - 1);
            start = at + 1;
        }
    }
    add(size);
}

std::string_view DatabaseText::bytesOf(const Line& line) const {
    return {segments_[line.segment].get() + line.offset, line.length};
}

QString DatabaseText::textOf(const Line& line) const {
    return line.segment == kEdited ? edited_[line.offset] : Shown(bytesOf(line));
}

qsizetype DatabaseText::lineLength(qint64 line) const {
    const Line& l = (*lines_)[line];
    return l.segment == kEdited ? edited_[l.offset].size() : l.length;
}

QString DatabaseText::lineText(qint64 line, qsizetype from, qsizetype count) const {
    const Line& l = (*lines_)[line];
    if (l.segment == kEdited)
        return edited_[l.offset].mid(from, count);
    const std::string_view bytes = bytesOf(l);
    const auto start = std::min(static_cast<std::size_t>(from), bytes.size());
    return Shown(bytes.substr(start, count < 0 ? std::string_view::npos : count));
}

qsizetype DatabaseText::nextTab(qint64 line, qsizetype from) const {
    const Line& l = (*lines_)[line];
    if (l.segment == kEdited)
        return edited_[l.offset].indexOf(u'\t', from);
    const std::string_view bytes = bytesOf(l);
    if (static_cast<std::size_t>(from) >= bytes.size())
        return -1;
    const auto* tab = static_cast<const char*>(
        std::memchr(bytes.data() + from, '\t', bytes.size() - static_cast<std::size_t>(from)));
    return tab ? tab - bytes.data() : -1;
}

SeenFile DatabaseText::saved() const {
    std::uint64_t length = 2 * (saved_->size() - 1); // the CR LF between lines
    for (const Line& line : *saved_)
        length += line.segment == kEdited ? BytesWritten(edited_[line.offset]).size() : line.length;
    return {length, chunksOf(saved_)};
}

ByteChunks DatabaseText::bytes() const {
    return chunksOf(lines_);
}

ByteChunks DatabaseText::chunksOf(std::shared_ptr<const Lines> lines) const {
    struct Reading {
        std::shared_ptr<const Lines> lines;
        std::size_t line, done; // the line being written and how much of it is
        std::string edited;     // that line's bytes, when edited
        std::string chunk;
    };
    auto reading = std::make_shared<Reading>(Reading{std::move(lines), 0, 0, {}, {}});
    return [this, reading]() -> std::string_view {
        Reading& r = *reading;
        r.chunk.clear();
        while (r.line < r.lines->size() && r.chunk.size() < kWriteChunk) {
            const Line& line = (*r.lines)[r.line];
            if (line.segment == kEdited && r.done == 0)
                r.edited = BytesWritten(edited_[line.offset]);
            const std::string_view bytes = line.segment == kEdited ? r.edited : bytesOf(line);
            const std::size_t take = std::min(bytes.size() - r.done, kWriteChunk - r.chunk.size());
            r.chunk.append(bytes.substr(r.done, take));
            r.done += take;
            if (r.done == bytes.size()) {
                if (++r.line < r.lines->size())
                    r.chunk += "\r\n";
                r.done = 0;
            }
        }
        return r.chunk;
    };
}

std::string DatabaseText::editedText() const {
    std::string text;
    for (const Line& line : *lines_)
        if (line.segment == kEdited)
            text += Utf8Written(edited_[line.offset]) + '\n';
    return text;
}

std::optional<qsizetype> DatabaseText::find(qint64 line, const SearchNeedle& needle, qsizetype from,
                                            bool backward) const {
    const Line& l = (*lines_)[line];
    if (needle.text_.isEmpty())
        return std::nullopt;
    if (l.segment == kEdited) {
        const QString& text = edited_[l.offset];
        const qsizetype at =
            backward
                ? (from > 0 ? text.lastIndexOf(needle.text_, from - 1, needle.sensitivity_) : -1)
                : text.indexOf(needle.text_, from, needle.sensitivity_);
        return at < 0 ? std::nullopt : std::optional<qsizetype>(at);
    }
    if (!needle.inCodePage_)
        return std::nullopt;
    std::string_view bytes = bytesOf(l);
    if (backward)
        bytes = bytes.substr(
            0, std::min(bytes.size(), static_cast<std::size_t>(from) + needle.bytes_.size() - 1));
    const std::size_t start = backward ? 0 : static_cast<std::size_t>(from);
    if (start > bytes.size())
        return std::nullopt;
    if (needle.sensitivity_ == Qt::CaseInsensitive)
        return FindFolded(bytes, needle.bytes_, start, backward);
    const std::size_t at = backward ? bytes.rfind(needle.bytes_) : bytes.find(needle.bytes_, start);
    return at == std::string_view::npos ? std::nullopt
                                        : std::optional<qsizetype>(static_cast<qsizetype>(at));
}

} // namespace valdrex
