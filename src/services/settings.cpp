#include "services/settings.h"

#include <QSettings>
#include <memory>

namespace tessaly {
namespace {

QString g_settingsFile;

std::unique_ptr<QSettings> OpenStore() {
    if (!g_settingsFile.isEmpty()) {
        return std::make_unique<QSettings>(g_settingsFile, QSettings::IniFormat);
    }
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Orvane"), QStringLiteral("Tessaly"));
}

QString KeyOf(const QString& section, const QString& key) { return section + u'/' + key; }

}  // namespace

void UseSettingsFile(const QString& path) { g_settingsFile = path; }

int GetProfileInt(const QString& section, const QString& key, int defaultValue) {
    bool ok = false;
    const int value = OpenStore()->value(KeyOf(section, key)).toInt(&ok);
    return ok ? value : defaultValue;
}

void WriteProfileInt(const QString& section, const QString& key, int value) {
    OpenStore()->setValue(KeyOf(section, key), value);
}

QString GetProfileString(const QString& section, const QString& key, const QString& defaultValue) {
    return OpenStore()->value(KeyOf(section, key), defaultValue).toString();
}

void WriteProfileString(const QString& section, const QString& key, const QString& value) {
    OpenStore()->setValue(KeyOf(section, key), value);
}

}  // namespace tessaly
