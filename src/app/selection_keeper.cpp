#include "app/selection_keeper.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>

namespace valdrex {

bool SelectionKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusOut || qobject_cast<QLineEdit*>(watched) == nullptr ||
        static_cast<QFocusEvent*>(event)->reason() != Qt::MenuBarFocusReason)
        return false;
    QFocusEvent toPopup(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(watched, &toPopup);
    return true;
}

} // namespace valdrex
