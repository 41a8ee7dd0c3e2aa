#pragma once

#include "dialogs/database_text.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>

namespace valdrex {

// A plain-text editor for the database text that lays out and paints only the lines in sight,
// so that a file of millions of lines opens, scrolls and edits at once. Lines are not wrapped;
// a tab reaches the next multiple of eight characters. The keys, mouse and menu are those of
// a plain-text editor.
class DatabaseTextView : public QAbstractScrollArea {
    Q_OBJECT

  public:
    explicit DatabaseTextView(QWidget* parent = nullptr);

    const DatabaseText& text() const { return text_; }
    // A new text, with the cursor at its start and its own undo history.
    void setText(DatabaseText text);
    // The file's bytes appended at the end of the text (see DatabaseText::appendFileBytes).
    void appendFileBytes(std::string bytes);
    void markSaved() { text_.markSaved(); }

    QString toPlainText() const;
    // Replaces the selection with `text`, as a paste does.
    void insertPlainText(const QString& text);
    TextPosition cursorPosition() const { return cursor_; }
    bool hasSelection() const { return anchor_ != cursor_; }
    TextPosition selectionStart() const { return std::min(anchor_, cursor_); }
    TextPosition selectionEnd() const { return std::max(anchor_, cursor_); }
    // The selection runs from `anchor` to `cursor`, which is brought into sight.
    void select(TextPosition anchor, TextPosition cursor);
    QString selectedText() const;
    // Where the cursor is drawn at `position`, in the viewport.
    QRect cursorRect(TextPosition position) const;
    // While the text cannot be changed (it is being read), keys and the mouse only move.
    void setReadOnly(bool readOnly);

  signals:
    void edited(); // the text changed

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    // Moves the cursor; the anchor stays when `extend`, else it follows.
    void moveTo(TextPosition position, bool extend, bool keepCell = false);
    // Replaces the selection (or the range given) and puts the cursor after the new text.
    void replaceRange(TextPosition from, TextPosition to, const QString& text, bool keyed);
    void typeText(const QString& text);
    void deleteOrSelection(TextPosition other, bool keyed = false);
    void undo();
    void redo();
    // After undo or redo: the cursor where the step puts it, when there was a step.
    void showStepTaken(std::optional<TextPosition> cursor);
    void copy() const;
    void cut();
    void paste();
    void selectAll();
    bool handleMoveKey(QKeyEvent* event);
    bool handleEditKey(QKeyEvent* event);

    TextPosition nextCharacter(TextPosition p) const;
    TextPosition previousCharacter(TextPosition p) const;
    TextPosition nextWord(TextPosition p) const;
    TextPosition previousWord(TextPosition p) const;
    std::optional<TextPosition> lineMoved(TextPosition p, qint64 lines, bool toEdge) const;

    // Cells are the monospaced places a line is drawn in.
    qint64 cellOf(qint64 line, qsizetype column) const;
    qsizetype columnAtCell(qint64 line, qint64 cell) const;
    qsizetype columnNearCell(qint64 line, qreal cell) const;
    TextPosition positionAt(QPoint point) const;
    int visibleLines() const;
    int visibleCells() const;
    qint64 firstLine() const;
    qint64 firstCell() const;
    void updateScrollBars();
    void ensureVisible(TextPosition position, bool centre = false);
    void textChanged();
    void restartBlinking();

    DatabaseText text_;
    TextPosition cursor_, anchor_;
    qint64 wantedCell_ = -1; // where moving up and down tries to stay
    qint64 widestCells_ = 0;
    bool readOnly_ = false;
    bool caretShown_ = true;
    QPoint dragPoint_;
    bool dragging_ = false;
    qreal cellWidth_ = 1;
    int lineHeight_ = 1;
    int ascent_ = 0;
    QBasicTimer blink_;
    QBasicTimer dragScroll_;
};

} // namespace valdrex
