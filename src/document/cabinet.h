#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "document/cabinet_reader.h"

namespace tessaly {

// The .tsd container: a standard cabinet file with one MSZIP-compressed member.

// The bytes of a cabinet holding `data` as its one member `memberName`,
// dated now (local time), with the archive attribute. Nothing, without a
// message, when it cannot be made.
std::optional<QByteArray> CompressToCabinet(const QByteArray& data, const QString& memberName);

// Writes the cabinet holding the regular file `sourcePath` as its one member
// `memberName`, dated with the source's last-write time (local time) and
// carrying its attributes masked to read-only, hidden, system and archive, at
// `cabinetPath`, replacing the file whole (SafeFile), so whatever was there
// survives a failure. On failure shows "書き込み場所にアクセス権がない可能性が
// あります…" and returns false.
bool CompressCabinet(const QString& sourcePath, const QString& memberName,
                     const QString& cabinetPath);

// Reads the document member of the cabinet file at `path` into memory: the
// last member, as a cabinet with several members is read. Only a regular
// file is read: a FIFO or a device is refused unopened. On failure shows
// "ファイルの展開に失敗しました" after the path's line and "[File Copy]".
std::optional<CabinetMember> ReadCabinet(const QString& path);

}  // namespace tessaly
