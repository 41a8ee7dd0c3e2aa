#include "dialogs/database_text_view.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

#include <cmath>
#include <functional>
#include <optional>

namespace valdrex {
namespace {

constexpr qint64 kTabCells = 8;
constexpr int kMargin = 4; // pixels left of the text
constexpr int kDragScrollMs = 50;

qint64 CellAfterTab(qint64 cell) {
    return (cell / kTabCells + 1) * kTabCells;
}

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

DatabaseTextView::DatabaseTextView(QWidget* parent) : QAbstractScrollArea(parent) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setKerning(false);
    setFont(font);
    const QFontMetricsF metrics(font);
    cellWidth_ = std::max<qreal>(1, metrics.horizontalAdvance(u'M'));
    lineHeight_ = std::max(1, static_cast<int>(std::ceil(metrics.height())));
    ascent_ = static_cast<int>(std::ceil(metrics.ascent()));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    updateScrollBars();
}

void DatabaseTextView::setText(DatabaseText text) {
    text_ = std::move(text);
    cursor_ = anchor_ = {};
    wantedCell_ = -1;
    widestCells_ = 0;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    textChanged();
}

void DatabaseTextView::appendFileBytes(std::string bytes) {
    text_.appendFileBytes(std::move(bytes));
    textChanged();
}

QString DatabaseTextView::toPlainText() const {
    return text_.text({}, text_.end());
}

QString DatabaseTextView::selectedText() const {
    return text_.text(selectionStart(), selectionEnd());
}

void DatabaseTextView::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
}

void DatabaseTextView::select(TextPosition anchor, TextPosition cursor) {
    ensureVisible(cursor, true);
    anchor_ = anchor;
    moveTo(cursor, true);
}

void DatabaseTextView::insertPlainText(const QString& text) {
    replaceRange(selectionStart(), selectionEnd(), text, false);
}

// --- Editing

void DatabaseTextView::replaceRange(TextPosition from, TextPosition to, const QString& text,
                                    bool keyed) {
    if (readOnly_)
        return;
    const TextPosition after = text_.replace(from, to, text, keyed);
    anchor_ = cursor_ = after;
    wantedCell_ = -1;
    textChanged();
    ensureVisible(cursor_);
}

void DatabaseTextView::typeText(const QString& text) {
    replaceRange(selectionStart(), selectionEnd(), text, !hasSelection());
}

// Deletes the selection, or else the text between the cursor and `other` (one character
// when `keyed`).
void DatabaseTextView::deleteOrSelection(TextPosition other, bool keyed) {
    if (hasSelection())
        replaceRange(selectionStart(), selectionEnd(), {}, false);
    else if (other != cursor_)
        replaceRange(std::min(other, cursor_), std::max(other, cursor_), {}, keyed);
    // Even with nothing to delete, moving up and down starts afresh from the cursor.
    wantedCell_ = -1;
}

void DatabaseTextView::undo() {
    if (!readOnly_)
        showStepTaken(text_.undo());
}

void DatabaseTextView::redo() {
    if (!readOnly_)
        showStepTaken(text_.redo());
}

void DatabaseTextView::showStepTaken(std::optional<TextPosition> cursor) {
    if (!cursor)
        return;
    anchor_ = cursor_ = *cursor;
    textChanged();
    ensureVisible(cursor_);
}

void DatabaseTextView::copy() const {
    if (hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

void DatabaseTextView::cut() {
    if (readOnly_ || !hasSelection())
        return;
    copy();
    deleteOrSelection(cursor_);
}

void DatabaseTextView::paste() {
    const QString pasted = QGuiApplication::clipboard()->text();
    if (!pasted.isEmpty())
        insertPlainText(pasted);
}

void DatabaseTextView::selectAll() {
    anchor_ = {};
    moveTo(text_.end(), true);
}

void DatabaseTextView::textChanged() {
    updateScrollBars();
    restartBlinking();
    viewport()->update();
    emit edited();
}

// --- Moving

void DatabaseTextView::moveTo(TextPosition position, bool extend, bool keepCell) {
    cursor_ = position;
    if (!extend)
        anchor_ = position;
    if (!keepCell)
        wantedCell_ = -1;
    ensureVisible(cursor_);
    restartBlinking();
    viewport()->update();
}

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

QRect DatabaseTextView::cursorRect(TextPosition position) const {
    const qreal x = kMargin + (cellOf(position.line, position.column) - firstCell()) * cellWidth_;
    return {static_cast<int>(std::floor(x)),
            static_cast<int>((position.line - firstLine()) * lineHeight_), 1, lineHeight_};
}

// --- Mouse

TextPosition DatabaseTextView::positionAt(QPoint point) const {
    const qint64 line = std::clamp<qint64>(firstLine() + std::floor(point.y() / qreal(lineHeight_)),
                                           0, text_.lineCount() - 1);
    return {line, columnNearCell(line, firstCell() + (point.x() - kMargin) / cellWidth_)};
}

// The column whose left edge is nearest to the place `cell` (in cells, from the line start).
qsizetype DatabaseTextView::columnNearCell(qint64 line, qreal cell) const {
    const qsizetype column = columnAtCell(line, static_cast<qint64>(std::max<qreal>(0, cell)));
    if (column >= text_.lineLength(line))
        return column;
    const qint64 start = cellOf(line, column), next = cellOf(line, column + 1);
    return cell - start >= (next - start) / 2.0 ? column + 1 : column;
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

void DatabaseTextView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const bool editable = !readOnly_;
    menu.addAction(tr("&Undo"), this, &DatabaseTextView::undo)
        ->setEnabled(editable && text_.canUndo());
    menu.addAction(tr("&Redo"), this, &DatabaseTextView::redo)
        ->setEnabled(editable && text_.canRedo());
    menu.addSeparator();
    menu.addAction(tr("Cu&t"), this, &DatabaseTextView::cut)
        ->setEnabled(editable && hasSelection());
    menu.addAction(tr("&Copy"), this, &DatabaseTextView::copy)->setEnabled(hasSelection());
    menu.addAction(tr("&Paste"), this, &DatabaseTextView::paste)
        ->setEnabled(editable && !QGuiApplication::clipboard()->text().isEmpty());
    menu.addAction(tr("Delete"), this, [this] { deleteOrSelection(cursor_); })
        ->setEnabled(editable && hasSelection());
    menu.addSeparator();
    menu.addAction(tr("Select All"), this, &DatabaseTextView::selectAll);
    menu.exec(event->globalPos());
}

// --- Caret, focus and timers

void DatabaseTextView::restartBlinking() {
    caretShown_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (hasFocus() && flash > 0)
        blink_.start(flash / 2, this);
    else
        blink_.stop();
}

void DatabaseTextView::focusInEvent(QFocusEvent* event) {
    restartBlinking();
    viewport()->update();
    QAbstractScrollArea::focusInEvent(event);
}

void DatabaseTextView::focusOutEvent(QFocusEvent* event) {
    blink_.stop();
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

void DatabaseTextView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == blink_.timerId()) {
        caretShown_ = !caretShown_;
        viewport()->update();
    } else if (event->timerId() == dragScroll_.timerId()) {
        moveTo(positionAt(dragPoint_), true);
    }
}

// --- Geometry

qint64 DatabaseTextView::cellOf(qint64 line, qsizetype column) const {
    qint64 cells = 0;
    for (qsizetype from = 0;;) {
        const qsizetype tab = text_.nextTab(line, from);
        if (tab < 0 || tab >= column)
            return cells + (column - from);
        cells = CellAfterTab(cells + (tab - from));
        from = tab + 1;
    }
}

// The column of the character drawn in `cell`; the line's length beyond its end.
qsizetype DatabaseTextView::columnAtCell(qint64 line, qint64 cell) const {
    const qsizetype length = text_.lineLength(line);
    qint64 cells = 0;
    for (qsizetype from = 0;;) {
        const qsizetype tab = text_.nextTab(line, from);
        const qsizetype runEnd = tab < 0 ? length : tab;
        if (cells + (runEnd - from) > cell)
            return from + static_cast<qsizetype>(cell - cells);
        if (tab < 0)
            return length;
        cells = CellAfterTab(cells + (runEnd - from));
        if (cells > cell)
            return tab;
        from = tab + 1;
    }
}

int DatabaseTextView::visibleLines() const {
    return std::max(1, viewport()->height() / lineHeight_);
}

int DatabaseTextView::visibleCells() const {
    return std::max(1, static_cast<int>((viewport()->width() - kMargin) / cellWidth_));
}

qint64 DatabaseTextView::firstLine() const {
    return verticalScrollBar()->value();
}

qint64 DatabaseTextView::firstCell() const {
    return horizontalScrollBar()->value();
}

void DatabaseTextView::updateScrollBars() {
    const auto lines = static_cast<int>(std::min<qint64>(text_.lineCount(), INT_MAX));
    verticalScrollBar()->setRange(0, std::max(0, lines - visibleLines()));
    verticalScrollBar()->setPageStep(visibleLines());
    const qint64 widest = std::max<qint64>(widestCells_, text_.longestLine()) + 1;
    horizontalScrollBar()->setRange(0, static_cast<int>(std::min<qint64>(
                                           INT_MAX, std::max<qint64>(0, widest - visibleCells()))));
    horizontalScrollBar()->setPageStep(visibleCells());
}

void DatabaseTextView::ensureVisible(TextPosition position, bool centre) {
    const qint64 shown = visibleLines();
    if (position.line < firstLine() || position.line >= firstLine() + shown) {
        const qint64 top = centre                        ? position.line - shown / 2
                           : position.line < firstLine() ? position.line
                                                         : position.line - shown + 1;
        verticalScrollBar()->setValue(static_cast<int>(std::max<qint64>(0, top)));
    }
    const qint64 cell = cellOf(position.line, position.column);
    if (cell + 1 > widestCells_) {
        widestCells_ = cell + 1;
        updateScrollBars();
    }
    const qint64 across = visibleCells();
    if (cell < firstCell())
        horizontalScrollBar()->setValue(static_cast<int>(std::max<qint64>(0, cell - across / 4)));
    else if (cell >= firstCell() + across)
        horizontalScrollBar()->setValue(static_cast<int>(cell - across + across / 4));
}

void DatabaseTextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void DatabaseTextView::scrollContentsBy(int, int) {
    viewport()->update();
}

// --- Painting

void DatabaseTextView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QPalette& colours = palette();
    painter.fillRect(viewport()->rect(), colours.base());
    painter.setFont(font());
    const qint64 first = firstLine(), left = firstCell();
    const qint64 last = std::min<qint64>(text_.lineCount(), first + visibleLines() + 1);
    const qint64 right = left + visibleCells() + 1;
    const TextPosition selStart = selectionStart(), selEnd = selectionEnd();
    const auto xOf = [&](qint64 cell) { return kMargin + (cell - left) * cellWidth_; };
    for (qint64 line = first; line < last; ++line) {
        const int top = static_cast<int>((line - first) * lineHeight_);
        // The characters in sight, tabs drawn as blanks up to their stop.
        const qsizetype from = columnAtCell(line, left);
        const qsizetype to = std::min(text_.lineLength(line), columnAtCell(line, right) + 1);
        const QString part = text_.lineText(line, from, to - from);
        qint64 cell = cellOf(line, from);
        const qint64 startCell = cell;
        QString shown;
        for (const QChar c : part) {
            const qint64 next = c == u'\t' ? CellAfterTab(cell) : cell + 1;
            shown += c == u'\t' ? QString(next - cell, u' ') : QString(c);
            cell = next;
        }
        // The selection on this line, with one cell for the line end it takes in.
        QRectF selected;
        if (hasSelection() && selStart.line <= line && line <= selEnd.line) {
            const qint64 a = line == selStart.line ? cellOf(line, selStart.column) : 0;
            const qint64 b = line == selEnd.line ? cellOf(line, selEnd.column)
                                                 : cellOf(line, text_.lineLength(line)) + 1;
            selected = QRectF(xOf(a), top, (b - a) * cellWidth_, lineHeight_);
            painter.fillRect(selected, colours.highlight());
        }
        const QPointF origin(xOf(startCell), top + ascent_);
        painter.setPen(colours.text().color());
        painter.drawText(origin, shown);
        if (!selected.isEmpty()) {
            painter.save();
            painter.setClipRect(selected);
            painter.setPen(colours.highlightedText().color());
            painter.drawText(origin, shown);
            painter.restore();
        }
    }
    if (hasFocus() && caretShown_ && cursor_.line >= first && cursor_.line < last)
        painter.fillRect(cursorRect(cursor_), colours.text());
}

} // namespace valdrex
