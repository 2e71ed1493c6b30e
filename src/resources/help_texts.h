#pragma once

#include <QString>

namespace tessaly {

// The manual's file name: the base name from the string table plus ".pdf".
// The editor looks for it in its own folder.
QString ManualFileName();

// The version history shown in the about box: the version lines newest
// first, each followed by CR LF. The oldest line carries its own line break,
// so the text ends with an empty line.
QString VersionHistoryText();

}  // namespace tessaly
