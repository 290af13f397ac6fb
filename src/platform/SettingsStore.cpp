// Settings kept with QSettings, one INI file per application name.
#include "platform/SettingsStore.h"

#include <QSettings>

QString QtSettingsStore::GetSetting(const QString& app, const QString& section, const QString& key)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, app, app);
    return settings.value(section + QLatin1Char('/') + key).toString();
}

bool QtSettingsStore::SaveSetting(const QString& app, const QString& section, const QString& key, const QString& value)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, app, app);
    settings.setValue(section + QLatin1Char('/') + key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}
