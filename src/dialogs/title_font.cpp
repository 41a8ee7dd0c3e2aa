#include "dialogs/title_font.h"

#include <QStringList>

namespace valdrex {

QFont TitleFont() {
    QFont font;
    // The first family that is installed wins; every one of them is a Times-like serif.
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                      QStringLiteral("Nimbus Roman"), QStringLiteral("DejaVu Serif"),
                      QStringLiteral("serif")});
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(24.75);
    font.setBold(true);
    font.setItalic(true);
    return font;
}

} // namespace valdrex
