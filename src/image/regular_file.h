#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QFile;

namespace tessaly {

// Whether `path` names a regular file (after following links). A FIFO, a
// device or a socket given as a document or a picture would block the reader
// or never end, so every reader asks this first.
bool IsRegularFile(const QString& path);

// Opens `file` (its name already set) for reading only when it is a regular
// file. The check is made on the opened descriptor, which is opened without
// waiting, so neither a FIFO without a writer nor a file swapped in between
// can block the program. False, with nothing open, otherwise.
bool OpenRegularFile(QFile& file);

// Paths given as bytes (command-line arguments) made into paths Qt can open.
// A name that is valid UTF-8 is the file system's own name decoded. Qt holds
// names as text and cannot reach any other, so an existing file or folder of
// such a name is reached through a link in the working folder whose name
// keeps the readable part and the extension; the links go with this object.
class NativePaths {
public:
    NativePaths() = default;
    ~NativePaths();
    NativePaths(const NativePaths&) = delete;
    NativePaths& operator=(const NativePaths&) = delete;

    // Whether `bytes` decode to a name that encodes back to the same bytes.
    static bool IsTextName(const QByteArray& bytes);

    // The path to use for `bytes`; empty when the name is not text and names
    // nothing that exists (it cannot be created under its own name).
    QString FromBytes(const QByteArray& bytes);

private:
    QStringList links_;
};

}  // namespace tessaly
