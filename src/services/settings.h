#pragma once

#include <QString>

namespace tessaly {

// The per-user settings store: an INI file for organisation "Orvane" and
// application "Tessaly", with sections ("SYS", "Last", ...) as groups.
// The section of the program-wide preferences.
inline const QString kSystemSection = QStringLiteral("SYS");

int GetProfileInt(const QString& section, const QString& key, int defaultValue);
void WriteProfileInt(const QString& section, const QString& key, int value);
QString GetProfileString(const QString& section, const QString& key,
                         const QString& defaultValue = {});
void WriteProfileString(const QString& section, const QString& key, const QString& value);

// Sends every read and write to the INI file `path` instead (empty: back to
// the user's store). For tests and for running several configurations.
void UseSettingsFile(const QString& path);

}  // namespace tessaly
