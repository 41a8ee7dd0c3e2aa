#pragma once

#include "file_bytes.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QWidget>
#include <gtest/gtest.h>

namespace valdrex {

// What a named control or menu shows: its caption, title or text.
inline QString ShownText(const QObject* object) {
    if (const auto* menu = qobject_cast<const QMenu*>(object))
        return menu->title();
    if (const auto* widget = qobject_cast<const QWidget*>(object); widget && widget->isWindow())
        return widget->windowTitle();
    if (const auto* item = qobject_cast<const QAction*>(object))
        return item->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(object))
        return button->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(object))
        return frame->title();
    if (const auto* label = qobject_cast<const QLabel*>(object))
        return label->text();
    if (const auto* box = qobject_cast<const QLineEdit*>(object))
        return box->text();
    return {};
}

// One line per named object in tree order; with `geometry`, the place of each control too.
inline void AppendShownTexts(const QObject* object, bool geometry, QString& lines) {
    if (!object->objectName().isEmpty() && !object->objectName().startsWith("qt_")) {
        lines += object->objectName() + " \"" + ShownText(object) + "\"";
        if (const auto* item = qobject_cast<const QAction*>(object);
            item && !item->shortcut().isEmpty())
            lines += " " + item->shortcut().toString();
        const auto* widget = qobject_cast<const QWidget*>(object);
        if (geometry && widget != nullptr && !widget->isWindow()) {
            const QRect r = widget->geometry();
            lines += QString(" %1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        }
        lines += '\n';
    }
    for (const QObject* child : object->children())
        AppendShownTexts(child, geometry, lines);
}

// Compares every text a window shows with the copy kept in `path`, so that no caption, title,
// shortcut or control name changes unnoticed. VALDREX_WRITE_WINDOW_TEXTS=1 rewrites the copy.
inline void ExpectShownTexts(const QWidget* window, const QString& path, bool geometry = false) {
    QString lines;
    AppendShownTexts(window, geometry, lines);
    lines.replace(qEnvironmentVariable("HOME"), "~"); // the tests' home is a new folder each run
    const std::string copy = path.toStdString();
    if (qEnvironmentVariableIsSet("VALDREX_WRITE_WINDOW_TEXTS"))
        Put(copy, lines.toStdString());
    else
        EXPECT_EQ(lines.toStdString(), Bytes(copy)) << copy;
}

} // namespace valdrex
