#include "dialogs/message_box.h"

#include <QMessageBox>

namespace valdrex {

void ShowErrorBox(const ErrorBox& box, QWidget* parent) {
    QMessageBox message(box.icon == BoxIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                        QString::fromStdString(box.title), QString::fromStdString(box.text),
                        QMessageBox::Ok, parent);
    message.exec();
}

} // namespace valdrex
