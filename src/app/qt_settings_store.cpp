#include "app/qt_settings_store.h"

#include "core/error_box.h"

#include <QSettings>
#include <QString>
#include <QStringList>

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
    return settings.value(matches.first()).toString().toStdString();
}

void QtSettingsStore::Write(std::string_view section, std::string_view key,
                            std::string_view value) {
    QSettings settings = OpenSettings();
    settings.beginGroup(ToQString(section));
    const QString qKey = ToQString(key);
    for (const QString& stored : MatchingKeys(settings, qKey))
        settings.remove(stored);
    settings.setValue(qKey, ToQString(value));
}

} // namespace valdrex
