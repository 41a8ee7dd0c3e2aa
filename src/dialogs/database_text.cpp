#include "dialogs/database_text.h"

#include <QStringList>

#include <algorithm>
#include <cstring>

// The text's lines and their edits, with the undo history.

namespace valdrex {
namespace {

bool IsLineBreak(QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// The lines of a typed or pasted text.
QStringList SplitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!IsLineBreak(text[i]))
            continue;
        lines << text.mid(start, i - start);
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    lines << text.mid(start);
    return lines;
}

} // namespace

DatabaseText::DatabaseText()
    : lines_(std::make_shared<Lines>(Lines{Line{0, 0, kEdited}})), saved_(lines_) {
    edited_.emplace_back();
}

QString DatabaseText::text(TextPosition from, TextPosition to) const {
    if (from.line == to.line)
        return lineText(from.line, from.column, to.column - from.column);
    QString joined = lineText(from.line, from.column);
    for (qint64 line = from.line + 1; line < to.line; ++line)
        joined += u'\n' + lineText(line);
    return joined + u'\n' + lineText(to.line, 0, to.column);
}

TextPosition DatabaseText::end() const {
    return {lineCount() - 1, lineLength(lineCount() - 1)};
}

DatabaseText::Line DatabaseText::editedLine(QString text) {
    longestLine_ = std::max(longestLine_, text.size());
    edited_.push_back(std::move(text));
    return {edited_.size() - 1, 0, kEdited};
}

DatabaseText::Lines& DatabaseText::editableLines() {
    if (lines_ == saved_)
        lines_ = std::make_shared<Lines>(*lines_);
    return *lines_;
}

TextPosition DatabaseText::replace(TextPosition from, TextPosition to, const QString& text,
                                   bool keyed) {
    steps_.resize(done_);
    if (keyed && joinLastStep(from, to, text))
        return steps_.back().after;
    const QStringList parts = SplitLines(text);
    // Undone, the cursor goes after what comes back.
    Step step{from.line, {}, {}, to, {}};
    const Lines& lines = *lines_;
    step.removed.assign(lines.begin() + from.line, lines.begin() + to.line + 1);
    const QString head = lineText(from.line, 0, from.column);
    const QString tail = lineText(to.line, to.column);
    for (qsizetype i = 0; i < parts.size(); ++i)
        step.inserted.push_back(editedLine((i == 0 ? head : QString()) + parts[i] +
                                           (i + 1 == parts.size() ? tail : QString())));
    step.after = {from.line + parts.size() - 1,
                  parts.back().size() + (parts.size() == 1 ? from.column : 0)};
    step.kind = !parts.back().isEmpty()                           ? Step::Kind::EndsInText
                : keyed && text.isEmpty() && from.line == to.line ? Step::Kind::KeyedDeletion
                                                                  : Step::Kind::Other;
    const TextPosition after = step.after;
    apply(std::move(step));
    return after;
}

bool DatabaseText::joinLastStep(TextPosition from, TextPosition to, const QString& text) {
    if (steps_.empty())
        return false;
    Step& last = steps_.back();
    const bool typed = last.kind == Step::Kind::EndsInText && from == to && from == last.after &&
                       SplitLines(text).size() == 1;
    // Backspace deletes up to where the last deletion was; Delete deletes from there.
    const bool deleted = last.kind == Step::Kind::KeyedDeletion && text.isEmpty() &&
                         from.line == to.line && (to == last.after || from == last.after);
    if (!typed && !deleted)
        return false;
    Line& line = last.inserted.back();
    QString changed = textOf(line);
    changed.replace(from.column, to.column - from.column, text);
    if (line.offset >= editableFrom_) {
        edited_[line.offset] = std::move(changed);
    } else {
        line = editedLine(std::move(changed));
        editableLines()[from.line] = line;
    }
    longestLine_ = std::max(longestLine_, edited_[line.offset].size());
    if (deleted) {
        // Undone, the cursor goes after all the characters that come back.
        if (from == last.after)
            last.before.column += to.column - from.column;
        last.after = from;
    } else {
        last.after.column += text.size();
    }
    return true;
}

void DatabaseText::appendFileBytes(std::string bytes) {
    auto copy = std::make_unique_for_overwrite<char[]>(bytes.size());
    std::memcpy(copy.get(), bytes.data(), bytes.size());
    Lines added;
    addSegment(std::move(copy), bytes.size(), added);
    // The first added line continues the last line of the text.
    const qint64 last = lineCount() - 1;
    Step step{last, {(*lines_)[last]}, std::move(added), end(), {}};
    Line& first = step.inserted.front();
    if (first.length == 0)
        first = (*lines_)[last];
    else if (lineLength(last) > 0)
        first = editedLine(lineText(last) + textOf(first));
    step.after = {last + static_cast<qint64>(step.inserted.size()) - 1,
                  textOf(step.inserted.back()).size()};
    apply(std::move(step));
}

void DatabaseText::apply(Step step) {
    Lines& lines = editableLines();
    const auto at = lines.begin() + step.line;
    const auto common = std::min(step.removed.size(), step.inserted.size());
    std::copy_n(step.inserted.begin(), common, at);
    if (step.inserted.size() > common)
        lines.insert(at + static_cast<std::ptrdiff_t>(common), step.inserted.begin() + common,
                     step.inserted.end());
    else
        lines.erase(at + static_cast<std::ptrdiff_t>(common),
                    at + static_cast<std::ptrdiff_t>(step.removed.size()));
    steps_.resize(done_);
    steps_.push_back(std::move(step));
    ++done_;
}

std::optional<TextPosition> DatabaseText::undo() {
    if (!canUndo())
        return std::nullopt;
    Step& step = steps_[--done_];
    Lines& lines = editableLines();
    const auto at = lines.begin() + step.line;
    lines.erase(at, at + static_cast<std::ptrdiff_t>(step.inserted.size()));
    lines.insert(lines.begin() + step.line, step.removed.begin(), step.removed.end());
    return step.before;
}

std::optional<TextPosition> DatabaseText::redo() {
    if (!canRedo())
        return std::nullopt;
    Step& step = steps_[done_++];
    Lines& lines = editableLines();
    const auto at = lines.begin() + step.line;
    lines.erase(at, at + static_cast<std::ptrdiff_t>(step.removed.size()));
    lines.insert(lines.begin() + step.line, step.inserted.begin(), step.inserted.end());
    return step.after;
}

bool DatabaseText::isModified() const {
    if (lines_ == saved_)
        return false;
    if (lines_->size() != saved_->size())
        return true;
    for (std::size_t i = 0; i < lines_->size(); ++i)
        if ((*lines_)[i] != (*saved_)[i] && textOf((*lines_)[i]) != textOf((*saved_)[i]))
            return true;
    return false;
}

void DatabaseText::markSaved() {
    saved_ = lines_;
    editableFrom_ = edited_.size();
}

} // namespace valdrex
