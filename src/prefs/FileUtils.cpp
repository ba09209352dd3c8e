#include "FileUtils.h"

#include "version.h"

#include <QSettings>

QString GetFileVersion() {
    return QStringLiteral(TARVIK_VERSION);
}

QString ReadStoredVersion() {
    const QSettings key(kSettingsOrganization, kSettingsApplication);
    return key.value(kVersionValue).toString();
}

void WriteStoredVersion(const QString& version) {
    QSettings key(kSettingsOrganization, kSettingsApplication);
    key.setValue(kVersionValue, version);
}

void DeleteSubKeys(QSettings& key) {
    const QStringList groups = key.childGroups();
    for (const QString& group : groups) {
        // An empty name would remove the current group's own values too.
        if (!group.isEmpty())
            key.remove(group);
    }
}

bool CheckSettingsVersion(const QString& version, const std::function<void()>& resetCaptions) {
    {
        QSettings key(kSettingsOrganization, kSettingsApplication);
        if (key.contains(kVersionValue) && key.value(kVersionValue).toString() == version)
            return true;
        DeleteSubKeys(key);
        key.setValue(kVersionValue, version);
    }
    if (resetCaptions)
        resetCaptions();
    return false;
}
