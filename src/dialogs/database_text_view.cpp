#include "dialogs/database_text_view.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMenu>
#include <QScrollBar>

#include <cmath>

// The view's text and the commands that edit it.

namespace valdrex {

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

} // namespace valdrex
