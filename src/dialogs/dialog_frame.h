#pragma once

#include <Qt>

namespace valdrex {

// A dialog's title bar: its caption and the close button, no minimise or maximise buttons.
// Without the customize hint window managers add the buttons a dialog has no use for.
inline constexpr Qt::WindowFlags kDialogFrame = Qt::Dialog | Qt::CustomizeWindowHint |
                                                Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                Qt::WindowCloseButtonHint;

} // namespace valdrex
