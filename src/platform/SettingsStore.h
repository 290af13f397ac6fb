// The per-user settings store: text values named by application, section and key.
#pragma once

#include <QString>

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or empty text when the key does not exist.
    virtual QString GetSetting(const QString& app, const QString& section, const QString& key) = 0;
    // Creates or replaces the value; false when the store could not be written.
    virtual bool SaveSetting(const QString& app, const QString& section, const QString& key, const QString& value) = 0;
};

// The platform's per-user store, in INI form under Qt's user configuration location
// (tests move that location with QSettings::setPath).
class QtSettingsStore : public SettingsStore {
public:
    QString GetSetting(const QString& app, const QString& section, const QString& key) override;
    bool SaveSetting(const QString& app, const QString& section, const QString& key, const QString& value) override;
};
