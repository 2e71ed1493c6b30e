#pragma once

#include <QString>
#include <optional>

namespace tessaly {

// The .tsd container: a standard cabinet file with one MSZIP-compressed member.

// Writes a cabinet at `cabinetPath` holding `sourcePath` as its one member
// `memberName`, dated with the source's last-write time (local time) and
// carrying its attributes masked to read-only, hidden, system and archive.
// On failure shows "書き込み場所にアクセス権がない可能性があります…" and
// returns false; whatever was at `cabinetPath` may be gone.
bool CompressCabinet(const QString& sourcePath, const QString& memberName,
                     const QString& cabinetPath);

// Extracts every member of the cabinet into `destinationFolder` and returns
// the file name of the last member written there. A member name is never used
// as a path: folders in it are dropped and names such as ".." or "" refuse the
// cabinet, as do members larger than any document. On failure shows
// "ファイルの展開に失敗しました" with the leading line "[File Copy]".
std::optional<QString> ExtractCabinet(const QString& cabinetPath,
                                      const QString& destinationFolder);

// The plain file name a member name stands for inside the destination folder,
// or nothing when it names no file.
std::optional<QString> SafeMemberFileName(const QString& memberName);

// The largest member extraction accepts: more than any document can hold.
inline constexpr qint64 kMaxMemberBytes = 2LL * 1024 * 1024 * 1024 - 1;

}  // namespace tessaly
