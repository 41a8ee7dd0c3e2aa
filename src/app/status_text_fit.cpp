#include "app/status_text_fit.h"

#include <QFontMetrics>

namespace valdrex {

QString FitStatusText(const QString& text, const QString& path, const QFontMetrics& metrics,
                      int width) {
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const qsizetype at = path.isEmpty() ? -1 : text.indexOf(path);
    if (at < 0)
        return metrics.elidedText(text, Qt::ElideMiddle, width);
    const qsizetype nameStart = path.lastIndexOf(u'/') + 1;
    const QString folder = path.left(nameStart);
    const QString kept = text.left(at) + path.mid(nameStart) + text.mid(at + path.size());
    const int room = width - metrics.horizontalAdvance(kept);
    if (room < metrics.horizontalAdvance(QChar(0x2026)))
        return metrics.elidedText(text, Qt::ElideMiddle, width);
    return text.left(at) + metrics.elidedText(folder, Qt::ElideMiddle, room) +
           text.mid(at + nameStart);
}

} // namespace valdrex
