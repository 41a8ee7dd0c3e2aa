#pragma once

#include <QIcon>
#include <QRect>

#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;

namespace valdrex {

// What the secondary windows are built from: their title bar and icon, tab order, and where a
// window that is not modal opens.

// A dialog's title bar: its caption and the close button, no minimise or maximise buttons.
// Without the customize hint window managers add the buttons a dialog has no use for.
inline constexpr Qt::WindowFlags kDialogFrame = Qt::Dialog | Qt::CustomizeWindowHint |
                                                Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                Qt::WindowCloseButtonHint;

// The program's icon in every size it is drawn at, from the embedded resources.
QIcon ProgramIcon();

// A label named `name` showing `text` as plain text.
QLabel* PlainLabel(const QString& name, const QString& text, QWidget* parent);

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
