#pragma once

#include <QString>
#include <optional>

#include "document/cabinet_reader.h"

namespace tessaly {

// The .tsd container: a standard cabinet file with one MSZIP-compressed member.

// Writes a cabinet at `cabinetPath` holding `sourcePath` as its one member
// `memberName`, dated with the source's last-write time (local time) and
// carrying its attributes masked to read-only, hidden, system and archive.
// On failure shows "書き込み場所にアクセス権がない可能性があります…" and
// returns false; whatever was at `cabinetPath` may be gone.
bool CompressCabinet(const QString& sourcePath, const QString& memberName,
                     const QString& cabinetPath);

// Reads the document member of the cabinet file at `path` into memory: the
// last member, as a cabinet with several members is read. On failure shows
// "ファイルの展開に失敗しました" with the leading line "[File Copy]".
std::optional<CabinetMember> ReadCabinet(const QString& path);

}  // namespace tessaly
