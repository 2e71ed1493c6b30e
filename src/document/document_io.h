#pragma once

#include <QString>

namespace tessaly {

class Document;

// Opens the .tsd document at `path` (extension in any case). On success the
// document holds the file's content, nothing selected, not modified. On
// failure the user has been told why (except for a wrong extension) and the
// document is exactly as it was.
bool OpenDocument(Document& doc, const QString& path);

// Saves the document as the .tsd file `path`. The new file is written beside
// the target and put in its place only once complete, after the backup copy
// when "SYS" / "MakeBackup" is 1; on any failure the previous file is
// untouched, the document stays modified and the path is not recorded.
// On success records the path as "Last" / "FilePath" and clears the
// modified flag.
bool SaveDocument(Document& doc, const QString& path);

// The backup name of a document: the path up to its last "." followed by
// "(back).TSD"; empty when the file name has no ".".
QString BackupPathFor(const QString& path);

}  // namespace tessaly
