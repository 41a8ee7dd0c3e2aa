#include "dialogs/message_box.h"

#include "database/cp1252.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace valdrex {

void ShowErrorBox(const ErrorBox& box, QWidget* parent) {
    QMessageBox message(box.icon == BoxIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                        QString::fromStdString(box.title), QString::fromStdString(box.text),
                        QMessageBox::Ok, parent);
    message.exec();
}

bool AcceptUnstorableCharacters(const std::string& utf8, QWidget* parent) {
    const std::string lost = UnstorableCharacters(utf8);
    if (lost.empty())
        return true;
    QStringList characters;
    for (const char32_t character : QString::fromStdString(lost).toUcs4())
        characters << QString::fromUcs4(&character, 1);
    QMessageBox question(QMessageBox::Warning, kAppTitle,
                         "The file's code page (Windows-1252) cannot store these characters: " +
                             characters.join(u' ') + "\nThey will be written as \"?\".",
                         QMessageBox::Save | QMessageBox::Cancel, parent);
    question.button(QMessageBox::Save)->setText("Save anyway");
    question.setDefaultButton(QMessageBox::Cancel);
    return question.exec() == QMessageBox::Save;
}

} // namespace valdrex
