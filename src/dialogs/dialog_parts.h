#pragma once

#include "core/coefficient_text.h"

#include <QIcon>
#include <QLineEdit>
#include <QRect>

#include <optional>
#include <string>
#include <vector>

class QLabel;

namespace valdrex {

// What the secondary windows are built from: their title bar and icon, number boxes, tab
// order, and where a window that is not modal opens.

// A dialog's title bar: its caption and the close button, no minimise or maximise buttons.
// Without the customize hint window managers add the buttons a dialog has no use for.
inline constexpr Qt::WindowFlags kDialogFrame = Qt::Dialog | Qt::CustomizeWindowHint |
                                                Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                Qt::WindowCloseButtonHint;

// The program's icon in every size it is drawn at, from the embedded resources.
QIcon ProgramIcon();

// A label named `name` showing `text` as plain text.
QLabel* PlainLabel(const QString& name, const QString& text, QWidget* parent);

// A one-line number box. Typed characters go through the numeric-entry key rule of its
// variant; keys that type nothing (arrows, Home, Delete, Tab, Enter) pass untouched. Entering
// the box selects from the caret to the end of the text.
class NumberBox : public QLineEdit {
  public:
    explicit NumberBox(KeyRule rule, QWidget* parent = nullptr);

    // Sets the text as the program does, caret at the start, so that entering the box selects
    // the whole text and the first key replaces it.
    void SetText(const QString& text);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    int CaretPosition() const;

    KeyRule rule_;
};

// Chains the tab order through `widgets` in the order given.
void SetTabOrder(const std::vector<QWidget*>& widgets);

// The text of a box as the options keep it.
std::string BoxText(const QLineEdit* box);

// Where a window of `size` opens beside the `owner` window on `screen` (all frame rectangles):
// right of it, else left of it, else centred over it; kept inside the screen.
QRect PlaceBeside(const QRect& owner, const QSize& size, const QRect& screen);

// Places a new, not yet shown `window`: where the same kind of window was when last hidden
// this session (`last`), or else beside `owner`. `last` follows the window from then on.
void PlaceSecondaryWindow(QWidget* window, const QWidget* owner, std::optional<QRect>& last);

} // namespace valdrex
