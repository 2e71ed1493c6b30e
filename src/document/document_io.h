#pragma once

#include <QString>

namespace tessaly {

class Document;

// Opens the .tsd document at `path` (extension in any case). On success the
// document holds the file's content, nothing selected, not modified. On
// failure the user has been told why (except for a wrong extension) and the
// document is exactly as it was.
bool OpenDocument(Document& doc, const QString& path);

// Writes the document as the .tsd file `path` and nothing else: the inner
// file is composed and compressed in memory, and the cabinet replaces the
// file whole (SafeFile: written beside it, synced and checked, then renamed
// over it). The file written is the one the path names after following
// links, even when its name is not text. On any failure the previous file is
// untouched and the reason has been shown, after the path's line: a full
// disk as "ディスクの空き容量が足りないため保存できませんでした…", a folder in the
// target's place or another failed write as "ファイルの保存に失敗しました" with
// the system's reason, a place that cannot be written as "書き込み場所にアクセス
// 権がない可能性があります…" (without the path).
// With `quiet` the status bar shows no text.
bool WriteDocumentSafely(const Document& doc, const QString& path, bool quiet);

// Saves the document as the .tsd file `path` with WriteDocumentSafely,
// after the backup copy when "SYS" / "MakeBackup" is 1 (taken once the new
// file is complete, just before it replaces the target); on any failure the
// previous file is untouched, the document stays modified and the path is
// not recorded. On success records the path as "Last" / "FilePath" and
// clears the modified flag.
bool SaveDocument(Document& doc, const QString& path);

// The backup name of a document: the path up to its last "." followed by
// "(back).TSD"; empty when the file name has no ".".
QString BackupPathFor(const QString& path);

}  // namespace tessaly
