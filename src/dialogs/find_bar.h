#pragma once

#include "dialogs/database_text.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace valdrex {

class DatabaseTextView;

// Find in the database viewer: a bar below the text with the text to look for. The search
// goes through the text in slices of a few milliseconds, so that the window stays alive while
// millions of lines go by; it wraps around at the end, and stops when the text is edited.
class FindBar : public QWidget {
    Q_OBJECT

  public:
    FindBar(DatabaseTextView* view, QWidget* parent);

    // Shows the bar with the selected text (within one line) to look for.
    void Open();
    // Selects the next (or previous) place of the text looked for; opens the bar without one.
    void Find(bool backward);
    bool IsSearching() const { return search_.has_value(); }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct Search {
        SearchNeedle needle;
        bool backward;
        TextPosition start;
        qint64 line;       // the line to try next
        qint64 linesTried; // a whole round ends at the start again
        bool wrapped;      // went past an end of the text
    };
    void Continue();
    void Stop(const QString& message);
    void Close();

    DatabaseTextView* view_;
    QLineEdit* txtFind_;
    QCheckBox* chkMatchCase_;
    QLabel* lblFound_;
    std::optional<Search> search_;
    QTimer slice_;
    QElapsedTimer sinceStart_;
};

} // namespace valdrex
