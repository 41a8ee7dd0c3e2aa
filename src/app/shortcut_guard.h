#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace valdrex {

// Text boxes claim Ctrl+A/C/V/X/Z for their own editing and so would swallow the window's menu
// shortcuts. Installed on the application, this filter lets the keys that `isWindowKey` names
// go to the menu while the focus is anywhere in `window`, and first calls `beforeShortcut` so
// that the menus' enabling rules run as if the menu had been opened.
class ShortcutGuard : public QObject {
    Q_OBJECT

  public:
    // Whether Ctrl+`key` (with Shift when `shift`) belongs to the window while `focus` has the
    // focus.
    using WindowKeyTest = std::function<bool(const QWidget* focus, Qt::Key key, bool shift)>;

    ShortcutGuard(QWidget* window, WindowKeyTest isWindowKey, std::function<void()> beforeShortcut,
                  QObject* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* window_;
    WindowKeyTest isWindowKey_;
    std::function<void()> beforeShortcut_;
};

} // namespace valdrex
