#include "dialogs/dialog_parts.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QString>
#include <QWidget>

#include <algorithm>

namespace valdrex {
namespace {

// The character a key press types, if it types one.
std::optional<char32_t> TypedCharacter(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Backspace)
        return kBackspace;
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    const QList<uint> text = event.text().toUcs4();
    if (text.isEmpty() || text.front() < 0x20 || text.front() == 0x7F)
        return std::nullopt;
    return static_cast<char32_t>(text.front());
}

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

NumberBox::NumberBox(KeyRule rule, QWidget* parent) : QLineEdit(parent), rule_(rule) {}

void NumberBox::SetText(const QString& text) {
    setText(text);
    setCursorPosition(0);
}

int NumberBox::CaretPosition() const {
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void NumberBox::keyPressEvent(QKeyEvent* event) {
    if (const std::optional<char32_t> key = TypedCharacter(*event)) {
        if (!FilterNumericKey(rule_, *key, text().toStdString(), CaretPosition())) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void NumberBox::focusInEvent(QFocusEvent* event) {
    const int start = CaretPosition();
    // The toolkit selects everything on Tab; the rule keeps the selection start instead.
    QLineEdit::focusInEvent(event);
    setSelection(start, static_cast<int>(text().size()) - start);
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
