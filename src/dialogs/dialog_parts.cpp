#include "dialogs/dialog_parts.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QString>
#include <QWidget>

#include <algorithm>

namespace valdrex {
namespace {

constexpr int kGap = 8;

int KeptInside(int start, int length, int low, int high) {
    return std::max(low, std::min(start, high - length + 1));
}

// Keeps the window's geometry in `last` whenever the window is hidden or closed.
class PlaceKeeper : public QObject {
  public:
    PlaceKeeper(QWidget* window, std::optional<QRect>& last) : QObject(window), last_(last) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide)
            last_ = static_cast<QWidget*>(watched)->geometry();
        return false;
    }

  private:
    std::optional<QRect>& last_;
};

} // namespace

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/valdrex-%1.png").arg(size), QSize(size, size));
    return icon;
}

QLabel* PlainLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void SetTabOrder(const std::vector<QWidget*>& widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

std::string BoxText(const QLineEdit* box) {
    return box->text().toStdString();
}

QRect PlaceBeside(const QRect& owner, const QSize& size, const QRect& screen) {
    const int top = KeptInside(owner.top(), size.height(), screen.top(), screen.bottom());
    if (owner.right() + kGap + size.width() <= screen.right())
        return {QPoint(owner.right() + 1 + kGap, top), size};
    if (owner.left() - kGap - size.width() >= screen.left())
        return {QPoint(owner.left() - kGap - size.width(), top), size};
    QRect centred(QPoint(), size);
    centred.moveCenter(owner.center());
    centred.moveTopLeft({KeptInside(centred.left(), size.width(), screen.left(), screen.right()),
                         KeptInside(centred.top(), size.height(), screen.top(), screen.bottom())});
    return centred;
}

void PlaceSecondaryWindow(QWidget* window, const QWidget* owner, std::optional<QRect>& last) {
    if (last) {
        window->setGeometry(*last);
    } else if (owner != nullptr && owner->isVisible()) {
        const QRect frame = owner->frameGeometry();
        window->move(
            PlaceBeside(frame, window->size(), owner->screen()->availableGeometry()).topLeft());
    }
    new PlaceKeeper(window, last);
}

} // namespace valdrex
