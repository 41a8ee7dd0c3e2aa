#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace valdrex {

// Text boxes claim Ctrl+A/C/V/X for their own editing and so would swallow the window's menu
// shortcuts. Installed on the application, this filter lets exactly the menu's Ctrl keys go
// to the menu while the focus is anywhere in `window`, and first calls `beforeShortcut` so
// that the menus' enabling rules run as if the menu had been opened.
class ShortcutGuard : public QObject {
    Q_OBJECT

  public:
    ShortcutGuard(QWidget* window, std::function<void()> beforeShortcut, QObject* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* window_;
    std::function<void()> beforeShortcut_;
};

} // namespace valdrex
