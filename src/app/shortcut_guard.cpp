#include "app/shortcut_guard.h"

#include <QKeyEvent>
#include <QWidget>

namespace valdrex {
namespace {

bool IsMenuShortcut(const QKeyEvent& event) {
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier)
        return false;
    switch (event.key()) {
    case Qt::Key_A:
    case Qt::Key_C:
    case Qt::Key_V:
    case Qt::Key_X:
    case Qt::Key_S:
    case Qt::Key_F:
    case Qt::Key_R:
    case Qt::Key_P:
        return true;
    default:
        return false;
    }
}

} // namespace

ShortcutGuard::ShortcutGuard(QWidget* window, std::function<void()> beforeShortcut, QObject* parent)
    : QObject(parent), window_(window), beforeShortcut_(std::move(beforeShortcut)) {}

bool ShortcutGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != window_ ||
        !IsMenuShortcut(*static_cast<QKeyEvent*>(event)))
        return false;
    // Runs before the toolkit looks the shortcut up, so the item's fresh state decides.
    beforeShortcut_();
    event->ignore();
    return true;
}

} // namespace valdrex
