#pragma once

#include <QObject>

namespace valdrex {

// A line box drops its selection when the menu bar takes the focus for keyboard work (Alt+F,
// then the arrow keys), so the Edit menu reached that way would find nothing to cut or copy.
// Installed on the boxes, this filter tells a box that the focus went to a popup instead, as
// when a menu opens by mouse or its own key, and the box keeps its selection.
class SelectionKeeper : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace valdrex
