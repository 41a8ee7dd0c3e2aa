#include "dialogs/find_bar.h"

#include "dialogs/database_text_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace valdrex {
namespace {

constexpr int kSliceMs = 15;        // the window handles its events between slices
constexpr int kQuietSearchMs = 300; // no progress shown for a search this short

} // namespace

FindBar::FindBar(DatabaseTextView* view, QWidget* parent)
    : QWidget(parent), view_(view), txtFind_(new QLineEdit(this)),
      chkMatchCase_(new QCheckBox("Match &case", this)), lblFound_(new QLabel(this)) {
    setObjectName("fraFind");
    txtFind_->setObjectName("txtFind");
    chkMatchCase_->setObjectName("chkMatchCase");
    lblFound_->setObjectName("lblFound");
    auto* label = new QLabel("Fi&nd:", this);
    label->setBuddy(txtFind_);
    auto* next = new QPushButton("&Next", this);
    next->setObjectName("cmdFindNext");
    auto* previous = new QPushButton("&Previous", this);
    previous->setObjectName("cmdFindPrevious");
    auto* close = new QToolButton(this);
    close->setObjectName("cmdFindClose");
    close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    close->setToolTip("Close");
    for (QWidget* button : std::initializer_list<QWidget*>{next, previous, chkMatchCase_, close})
        button->setFocusPolicy(Qt::TabFocus);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(label);
    row->addWidget(txtFind_, 1);
    row->addWidget(next);
    row->addWidget(previous);
    row->addWidget(chkMatchCase_);
    row->addWidget(lblFound_, 1);
    row->addWidget(close);

    connect(next, &QPushButton::clicked, this, [this] { Find(false); });
    connect(previous, &QPushButton::clicked, this, [this] { Find(true); });
    connect(close, &QToolButton::clicked, this, &FindBar::Close);
    connect(txtFind_, &QLineEdit::textEdited, this, [this] { Stop({}); });
    connect(view_, &DatabaseTextView::edited, this, [this] {
        if (search_)
            Stop({});
    });
    slice_.setSingleShot(true);
    connect(&slice_, &QTimer::timeout, this, &FindBar::Continue);
    hide();
}

void FindBar::Open() {
    if (view_->hasSelection() && view_->selectionStart().line == view_->selectionEnd().line)
        txtFind_->setText(view_->selectedText());
    show();
    txtFind_->selectAll();
    txtFind_->setFocus();
}

void FindBar::Find(bool backward) {
    if (txtFind_->text().isEmpty()) {
        Open();
        return;
    }
    show();
    const TextPosition start = backward ? view_->selectionStart() : view_->selectionEnd();
    search_.emplace(Search{SearchNeedle(txtFind_->text(), chkMatchCase_->isChecked()), backward,
                           start, start.line, 0, false});
    lblFound_->clear();
    sinceStart_.start();
    Continue();
}

// Tries lines until one holds the text or a slice of time is used up. A round starts and ends
// at the start line, so a place before the cursor on that line is found after wrapping.
void FindBar::Continue() {
    if (!search_)
        return;
    Search& s = *search_;
    const DatabaseText& text = view_->text();
    const qint64 lines = text.lineCount();
    QElapsedTimer slice;
    slice.start();
    while (s.linesTried <= lines) {
        const bool first = s.linesTried == 0;
        const qsizetype from = first ? s.start.column : s.backward ? text.lineLength(s.line) : 0;
        if (const auto at = text.find(s.line, s.needle, from, s.backward)) {
            view_->select({s.line, *at}, {s.line, *at + s.needle.text().size()});
            Stop(s.wrapped ? "Wrapped around" : QString());
            return;
        }
        ++s.linesTried;
        const qint64 lastLine = s.backward ? 0 : lines - 1;
        s.wrapped = s.wrapped || s.line == lastLine;
        s.line = s.line == lastLine ? lines - 1 - lastLine : s.line + (s.backward ? -1 : 1);
        if ((s.linesTried & 1023) == 0 && slice.elapsed() >= kSliceMs) {
            if (sinceStart_.elapsed() >= kQuietSearchMs)
                lblFound_->setText(QString("Searching\u2026 %1%").arg(100 * s.linesTried / lines));
            slice_.start(0);
            return;
        }
    }
    QApplication::beep();
    Stop("Not found");
}

void FindBar::Stop(const QString& message) {
    search_.reset();
    slice_.stop();
    lblFound_->setText(message);
}

void FindBar::Close() {
    Stop({});
    hide();
    view_->setFocus();
}

void FindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Close();
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Find(event->modifiers() & Qt::ShiftModifier);
    } else {
        QWidget::keyPressEvent(event);
    }
}

} // namespace valdrex
