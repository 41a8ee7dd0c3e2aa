#include "dialogs/database_text_view.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>

#include <climits>
#include <cmath>

// The view's layout: lines in monospaced cells with tab stops, the scroll bars, the caret, and
// the painting of the lines in sight.

namespace valdrex {
namespace {

constexpr qint64 kTabCells = 8;
constexpr int kMargin = 4; // pixels left of the text

qint64 CellAfterTab(qint64 cell) {
    return (cell / kTabCells + 1) * kTabCells;
}

} // namespace

QRect DatabaseTextView::cursorRect(TextPosition position) const {
    const qreal x = kMargin + (cellOf(position.line, position.column) - firstCell()) * cellWidth_;
    return {static_cast<int>(std::floor(x)),
            static_cast<int>((position.line - firstLine()) * lineHeight_), 1, lineHeight_};
}

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
