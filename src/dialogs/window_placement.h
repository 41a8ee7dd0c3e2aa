#pragma once

#include <QRect>

#include <optional>

class QWidget;

namespace valdrex {

// Where a window of `size` opens beside the `owner` window on `screen` (all frame rectangles):
// right of it, else left of it, else centred over it; kept inside the screen.
QRect PlaceBeside(const QRect& owner, const QSize& size, const QRect& screen);

// Places a new, not yet shown `window`: where the same kind of window was when last hidden
// this session (`last`), or else beside `owner`. `last` follows the window from then on.
void PlaceSecondaryWindow(QWidget* window, const QWidget* owner, std::optional<QRect>& last);

} // namespace valdrex
