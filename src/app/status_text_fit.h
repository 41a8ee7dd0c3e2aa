#pragma once

#include <QString>

class QFontMetrics;

namespace valdrex {

// `text` as it fits into `width` pixels. A text too wide loses the middle of the file path it
// holds, so that its start and the file name stay readable; without that path, its own middle.
QString FitStatusText(const QString& text, const QString& path, const QFontMetrics& metrics,
                      int width);

} // namespace valdrex
