#include "app/qt_settings_store.h"

#include "core/failure.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace valdrex {
namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QSettings OpenSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, kAppTitle, kAppTitle);
}

// The stored spellings of `key` in the current group.
QStringList MatchingKeys(const QSettings& settings, const QString& key) {
    QStringList matches;
    for (const QString& stored : settings.childKeys()) {
        if (stored.compare(key, Qt::CaseInsensitive) == 0)
            matches.append(stored);
    }
    return matches;
}

} // namespace

std::optional<std::string> QtSettingsStore::Read(std::string_view section,
                                                 std::string_view key) const {
    QSettings settings = OpenSettings();
    settings.beginGroup(ToQString(section));
    const QStringList matches = MatchingKeys(settings, ToQString(key));
    if (matches.isEmpty())
        return std::nullopt;
    const QVariant value = settings.value(matches.first());
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray().toStdString();
    return value.toString().toStdString();
}

void QtSettingsStore::Write(std::string_view section, std::string_view key,
                            std::string_view value) {
    QSettings settings = OpenSettings();
    settings.beginGroup(ToQString(section));
    const QString qKey = ToQString(key);
    for (const QString& stored : MatchingKeys(settings, qKey))
        settings.remove(stored);
    // A value that is not UTF-8 (a file name is bytes) is kept as bytes, not as a text it
    // would not survive.
    const QString text = ToQString(value);
    if (text.toStdString() == value)
        settings.setValue(qKey, text);
    else
        settings.setValue(qKey, QByteArray(value.data(), static_cast<qsizetype>(value.size())));
}

} // namespace valdrex
