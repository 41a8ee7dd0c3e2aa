#include "app/shortcut_guard.h"

#include <QKeyEvent>
#include <QWidget>

namespace valdrex {

ShortcutGuard::ShortcutGuard(QWidget* window, WindowKeyTest isWindowKey,
                             std::function<void()> beforeShortcut, QObject* parent)
    : QObject(parent), window_(window), isWindowKey_(std::move(isWindowKey)),
      beforeShortcut_(std::move(beforeShortcut)) {}

bool ShortcutGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const auto* widget = qobject_cast<QWidget*>(watched);
    const auto& key = *static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (widget == nullptr || widget->window() != window_ ||
        (modifiers != Qt::ControlModifier &&
         modifiers != (Qt::ControlModifier | Qt::ShiftModifier)) ||
        !isWindowKey_(widget, static_cast<Qt::Key>(key.key()), modifiers & Qt::ShiftModifier))
        return false;
    // Runs before the toolkit looks the shortcut up, so the item's fresh state decides.
    beforeShortcut_();
    event->ignore();
    return true;
}

} // namespace valdrex
