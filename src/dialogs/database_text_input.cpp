#include "dialogs/database_text_view.h"

#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <functional>
#include <optional>

// What the keys and the mouse do in the view: where the cursor moves, which key edits how.

namespace valdrex {
namespace {

constexpr int kDragScrollMs = 50;

bool IsWordCharacter(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

// Keys that the text takes for itself even where the window has a shortcut on them.
bool IsEditingKey(QKeyEvent* key) {
    for (const QKeySequence::StandardKey standard :
         {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste, QKeySequence::Undo,
          QKeySequence::Redo, QKeySequence::SelectAll, QKeySequence::Delete,
          QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord,
          QKeySequence::MoveToStartOfLine, QKeySequence::MoveToEndOfLine,
          QKeySequence::MoveToStartOfDocument, QKeySequence::MoveToEndOfDocument,
          QKeySequence::MoveToNextWord, QKeySequence::MoveToPreviousWord})
        if (key->matches(standard))
            return true;
    const QString typed = key->text();
    return !typed.isEmpty() && typed.front().isPrint() &&
           !(key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
}

} // namespace

TextPosition DatabaseTextView::nextCharacter(TextPosition p) const {
    if (p.column < text_.lineLength(p.line)) {
        const QString pair = text_.lineText(p.line, p.column, 2);
        return {p.line, p.column + (pair.size() == 2 && pair[0].isHighSurrogate() ? 2 : 1)};
    }
    return p.line + 1 < text_.lineCount() ? TextPosition{p.line + 1, 0} : p;
}

TextPosition DatabaseTextView::previousCharacter(TextPosition p) const {
    if (p.column > 0) {
        const QString pair = text_.lineText(p.line, std::max<qsizetype>(0, p.column - 2), 2);
        return {p.line, p.column - (pair.size() == 2 && pair[1].isLowSurrogate() ? 2 : 1)};
    }
    return p.line > 0 ? TextPosition{p.line - 1, text_.lineLength(p.line - 1)} : p;
}

TextPosition DatabaseTextView::nextWord(TextPosition p) const {
    if (p.column >= text_.lineLength(p.line))
        return nextCharacter(p);
    const QString line = text_.lineText(p.line);
    qsizetype i = p.column;
    const bool word = IsWordCharacter(line[i]);
    while (i < line.size() && !line[i].isSpace() && IsWordCharacter(line[i]) == word)
        ++i;
    while (i < line.size() && line[i].isSpace())
        ++i;
    return {p.line, i};
}

TextPosition DatabaseTextView::previousWord(TextPosition p) const {
    if (p.column == 0)
        return previousCharacter(p);
    const QString line = text_.lineText(p.line, 0, p.column);
    qsizetype i = p.column;
    while (i > 0 && line[i - 1].isSpace())
        --i;
    if (i > 0) {
        const bool word = IsWordCharacter(line[i - 1]);
        while (i > 0 && !line[i - 1].isSpace() && IsWordCharacter(line[i - 1]) == word)
            --i;
    }
    return {p.line, i};
}

// The place `lines` lines up or down, as near as can be to the cell the moves started from.
// From the first or last line, a selection grows to the start or end of the text and a page
// goes there too; a plain line move goes nowhere.
std::optional<TextPosition> DatabaseTextView::lineMoved(TextPosition p, qint64 lines,
                                                        bool toEdge) const {
    const qint64 line = std::clamp<qint64>(p.line + lines, 0, text_.lineCount() - 1);
    if (line != p.line)
        return TextPosition{line, columnNearCell(line, wantedCell_)};
    if (!toEdge)
        return std::nullopt;
    return lines < 0 ? TextPosition{} : text_.end();
}

bool DatabaseTextView::handleMoveKey(QKeyEvent* key) {
    using K = QKeySequence;
    using Target = std::function<std::optional<TextPosition>(bool extend)>;
    struct Move {
        K::StandardKey move, select;
        Target to;
        bool vertical = false;
    };
    const TextPosition p = cursor_;
    const qint64 page = std::max(1, visibleLines() - 1);
    const auto at = [](auto where) -> Target { return [where](bool) { return where(); }; };
    const Move moves[] = {
        // Left and Right without Shift first end a selection at its edge.
        {K::MoveToNextChar, K::SelectNextChar,
         [&](bool extend) {
             return hasSelection() && !extend ? selectionEnd() : nextCharacter(p);
         }},
        {K::MoveToPreviousChar, K::SelectPreviousChar,
         [&](bool extend) {
             return hasSelection() && !extend ? selectionStart() : previousCharacter(p);
         }},
        {K::MoveToNextWord, K::SelectNextWord, at([&] { return nextWord(p); })},
        {K::MoveToPreviousWord, K::SelectPreviousWord, at([&] { return previousWord(p); })},
        {K::MoveToStartOfLine, K::SelectStartOfLine, at([&] {
             return TextPosition{p.line, 0};
         })},
        {K::MoveToEndOfLine, K::SelectEndOfLine, at([&] {
             return TextPosition{p.line, text_.lineLength(p.line)};
         })},
        {K::MoveToStartOfDocument, K::SelectStartOfDocument, at([] { return TextPosition{}; })},
        {K::MoveToEndOfDocument, K::SelectEndOfDocument, at([&] { return text_.end(); })},
        {K::MoveToNextLine, K::SelectNextLine, [&](bool extend) { return lineMoved(p, 1, extend); },
         true},
        {K::MoveToPreviousLine, K::SelectPreviousLine,
         [&](bool extend) { return lineMoved(p, -1, extend); }, true},
        {K::MoveToNextPage, K::SelectNextPage, at([&] { return lineMoved(p, page, true); }), true},
        {K::MoveToPreviousPage, K::SelectPreviousPage,
         at([&] { return lineMoved(p, -page, true); }), true},
    };
    for (const Move& move : moves) {
        const bool extend = key->matches(move.select);
        if (!extend && !key->matches(move.move))
            continue;
        if (move.vertical && wantedCell_ < 0)
            wantedCell_ = cellOf(p.line, p.column);
        const std::optional<TextPosition> to = move.to(extend);
        if (!to)
            return true; // the selection stays as it is
        if (move.move == K::MoveToNextPage || move.move == K::MoveToPreviousPage)
            verticalScrollBar()->setValue(static_cast<int>(firstLine() + (to->line - p.line)));
        moveTo(*to, extend, move.vertical && to->line != p.line);
        return true;
    }
    return false;
}

bool DatabaseTextView::handleEditKey(QKeyEvent* key) {
    using K = QKeySequence;
    const std::pair<K::StandardKey, std::function<void()>> commands[] = {
        {K::Copy, [this] { copy(); }},
        {K::SelectAll, [this] { selectAll(); }},
        {K::Cut, [this] { cut(); }},
        {K::Paste, [this] { paste(); }},
        {K::Undo, [this] { undo(); }},
        {K::Redo, [this] { redo(); }},
        {K::Delete, [this] { deleteOrSelection(nextCharacter(cursor_), true); }},
        {K::DeleteEndOfWord, [this] { deleteOrSelection(nextWord(cursor_)); }},
        {K::DeleteStartOfWord, [this] { deleteOrSelection(previousWord(cursor_)); }},
    };
    for (const auto& [sequence, command] : commands)
        if (key->matches(sequence)) {
            command();
            return true;
        }
    if (key->key() == Qt::Key_Backspace &&
        !(key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        deleteOrSelection(previousCharacter(cursor_), true);
    } else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        typeText(QStringLiteral("\n"));
    } else if (key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ControlModifier)) {
        typeText(QStringLiteral("\t"));
    } else if (!key->text().isEmpty() && key->text().front().isPrint() &&
               !(key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
        typeText(key->text());
    } else {
        return false;
    }
    return true;
}

void DatabaseTextView::keyPressEvent(QKeyEvent* event) {
    if (handleMoveKey(event) || handleEditKey(event))
        event->accept();
    else
        QAbstractScrollArea::keyPressEvent(event);
}

bool DatabaseTextView::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && IsEditingKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

// Tab is typed into the text; Ctrl+Tab leaves it, as in other text editors.
bool DatabaseTextView::focusNextPrevChild(bool next) {
    if (!readOnly_ && !(QGuiApplication::keyboardModifiers() & Qt::ControlModifier))
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void DatabaseTextView::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty())
        typeText(event->commitString());
    event->accept();
}

QVariant DatabaseTextView::inputMethodQuery(Qt::InputMethodQuery query) const {
    if (query == Qt::ImCursorRectangle)
        return cursorRect(cursor_);
    return QAbstractScrollArea::inputMethodQuery(query);
}

void DatabaseTextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = true;
    moveTo(positionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void DatabaseTextView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_)
        return;
    dragPoint_ = event->position().toPoint();
    moveTo(positionAt(dragPoint_), true);
    // Outside the text, the selection goes on growing while the button is held.
    if (viewport()->rect().contains(dragPoint_))
        dragScroll_.stop();
    else if (!dragScroll_.isActive())
        dragScroll_.start(kDragScrollMs, this);
}

void DatabaseTextView::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
    dragScroll_.stop();
}

void DatabaseTextView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const TextPosition at = positionAt(event->position().toPoint());
    const QString line = text_.lineText(at.line);
    qsizetype start = at.column, end = at.column;
    while (start > 0 && IsWordCharacter(line[start - 1]))
        --start;
    while (end < line.size() && IsWordCharacter(line[end]))
        ++end;
    if (start == end && end < line.size())
        ++end;
    anchor_ = {at.line, start};
    moveTo({at.line, end}, true);
}

} // namespace valdrex
