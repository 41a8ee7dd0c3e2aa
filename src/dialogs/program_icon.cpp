#include "dialogs/program_icon.h"

#include <QString>

namespace valdrex {

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/valdrex-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace valdrex
