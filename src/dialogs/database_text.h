#pragma once

#include "database/database_file.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace valdrex {

// A place in the text: a line, and a column counted in UTF-16 units of that line.
struct TextPosition {
    qint64 line = 0;
    qsizetype column = 0;
    auto operator<=>(const TextPosition&) const = default;
};

// What Find looks for, prepared once for every line it is tried on.
class SearchNeedle {
  public:
    SearchNeedle(const QString& text, bool matchCase);

    const QString& text() const { return text_; }

  private:
    friend class DatabaseText;
    QString text_;
    Qt::CaseSensitivity sensitivity_;
    std::string bytes_;      // the text in the file's code page, folded when the case is ignored
    bool inCodePage_ = true; // false: only edited lines can hold it
};

// The database file as editable text, for files of any size: the file's bytes read once and
// indexed by line, every changed line held apart as text, the undo history as lists of lines.
// A line is what lies between two CR LF; a lone CR or LF within it is shown as the symbol
// U+240D or U+240A and written back as that byte, so an unedited text is saved byte for byte.
class DatabaseText {
  public:
    DatabaseText(); // one empty line

    // Reads the open file `fd` and indexes its lines, adding the bytes read to `progress`: a
    // regular file as long as `st` (its status) says, anything else to its end. Returns an
    // empty text once `stop` is set. Fails with FileFailure.
    static DatabaseText Read(int fd, const struct stat& st, std::atomic<std::uint64_t>& progress,
                             const std::atomic<bool>& stop);

    qint64 lineCount() const { return static_cast<qint64>(lines_->size()); }
    qsizetype lineLength(qint64 line) const;
    // `count` units of the line from `from` on (to its end when -1), as shown.
    QString lineText(qint64 line, qsizetype from = 0, qsizetype count = -1) const;
    // Lines joined by '\n'.
    QString text(TextPosition from, TextPosition to) const;
    TextPosition end() const;
    // The first tab in the line at `from` or after, -1 when there is none.
    qsizetype nextTab(qint64 line, qsizetype from) const;
    // The longest line's length, as a bound for scrolling across.
    qsizetype longestLine() const { return longestLine_; }

    // Replaces the text from `from` to `to` with `text`, where CR LF, LF, CR, U+2028 and U+2029
    // each end a line; returns the end of the new text. A `keyed` change (a key typed or a
    // character deleted, with nothing selected) joins the step before it where a plain-text
    // editor would: characters typed right after inserted text, characters deleted next to
    // the ones deleted before; undo then takes them back at once.
    TextPosition replace(TextPosition from, TextPosition to, const QString& text,
                         bool keyed = false);
    // Adds file bytes at the end (what others appended), as a step of its own.
    void appendFileBytes(std::string bytes);
    // Take back or redo a step; where the cursor goes, nothing when there is no step.
    std::optional<TextPosition> undo();
    std::optional<TextPosition> redo();
    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }

    // Whether the text differs from the file as last read or saved.
    bool isModified() const;
    // The text is now the file's.
    void markSaved();
    // The text, and the file as last read or saved, as the file's bytes.
    SeenFile saved() const;
    ByteChunks bytes() const;
    // Every line typed or changed, joined by '\n', with lone CR and LF as such: what may hold
    // characters the file's code page lacks.
    std::string editedText() const;

    // Where the needle occurs in the line: the first place at `from` or after, or the last
    // place before `from` when going `backward`.
    std::optional<qsizetype> find(qint64 line, const SearchNeedle& needle, qsizetype from,
                                  bool backward) const;

  private:
    static constexpr std::uint32_t kEdited = UINT32_MAX;
    struct Line {
        std::uint64_t offset;  // into its byte segment, or the index of its edited text
        std::uint32_t length;  // in bytes, for a line in a segment
        std::uint32_t segment; // kEdited for an edited line
        bool operator==(const Line&) const = default;
    };
    using Lines = std::vector<Line>;
    // One undo step: lines [line, line + removed.size()) became `inserted`; undone, the cursor
    // goes to `before`, done to `after`.
    struct Step {
        enum class Kind { Other, EndsInText, KeyedDeletion };
        qint64 line;
        Lines removed, inserted;
        TextPosition before, after;
        Kind kind = Kind::Other;
    };

    std::string_view bytesOf(const Line& line) const;
    QString textOf(const Line& line) const;
    Line editedLine(QString text);
    // Indexes the bytes of a new segment, which ends a line only where a CR LF is.
    void addSegment(std::unique_ptr<char[]> bytes, std::size_t size, Lines& into);
    Lines& editableLines();
    void apply(Step step);
    // Joins a keyed change to the last step, when it continues it.
    bool joinLastStep(TextPosition from, TextPosition to, const QString& text);
    ByteChunks chunksOf(std::shared_ptr<const Lines> lines) const;

    std::vector<std::unique_ptr<char[]>> segments_;
    // Edited lines from `editableFrom_` on are referred to by nothing but the text and its
    // history, so typing may change them in place; the others may be the saved file's.
    std::vector<QString> edited_;
    std::size_t editableFrom_ = 0;
    std::shared_ptr<Lines> lines_;
    std::shared_ptr<const Lines> saved_; // the file as last read or saved; lines_ until edited
    std::vector<Step> steps_;
    std::size_t done_ = 0;
    qsizetype longestLine_ = 0;
};

} // namespace valdrex
