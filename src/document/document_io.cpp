#include "document/document_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "document/cabinet.h"
#include "document/document.h"
#include "document/document_file.h"
#include "image/regular_file.h"
#include "image/safe_file.h"
#include "resources/string_table.h"
#include "services/message_service.h"
#include "services/settings.h"

namespace tessaly {
namespace {

QString LineOf(const QString& path) { return QDir::toNativeSeparators(path) + u'\n'; }

// The path's line followed by the system's reason, for a failure whose cause
// the user can act on (a folder in the way).
QString LinesOf(const QString& path, const QString& reason) {
    return reason.isEmpty() ? LineOf(path) : LineOf(path) + reason + u'\n';
}

QString ReasonOf(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// A file named by the file system's bytes, as the user is shown it.
QString Shown(const QByteArray& nativePath) { return QFile::decodeName(nativePath); }

// The backup name of the file system's path `path`; empty without a "." in
// the file name.
QByteArray BackupNameFor(const QByteArray& path) {
    const qsizetype dot = path.lastIndexOf('.');
    if (dot < 0 || dot < path.lastIndexOf('/')) return {};
    return path.left(dot) + QByteArrayLiteral("(back).TSD");
}

// Why the new document could not be written in full.
void ReportWriteFailure(const QString& path, const SafeFile& file) {
    if (file.DiskFull()) {
        ShowMessage(nullptr, LineOf(path), kMsgDiskFull, kStyleStop);
    } else {
        ShowMessage(nullptr, LinesOf(path, file.Reason()), kMsgFileSaveFailed, kStyleStop);
    }
}

// Copies the previous document to its backup name, replacing an older
// backup only once the copy is complete.
bool MakeBackup(const QByteArray& target) {
    const QByteArray backup = BackupNameFor(target);
    if (!backup.isEmpty()) {
        QFile source;
        const int fd = ::open(target.constData(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0 && !source.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
        }
        SafeFile copy(backup);
        bool copied = source.isOpen() && copy.open(QIODevice::WriteOnly);
        while (copied && !source.atEnd()) {
            const QByteArray part = source.read(1 << 20);
            copied = !part.isEmpty() && copy.write(part) == part.size();
        }
        if (copied && copy.Commit()) return true;
    }
    ShowMessage(nullptr, backup.isEmpty() ? QString() : LineOf(Shown(backup)), kMsgBackupFailed,
                kStyleStop);
    return false;
}

// Writes the document as the cabinet `path`, replacing the file whole
// (SafeFile); after the backup when `backup` is set. Any failure leaves the
// previous file as it was and has been reported.
bool WriteDocumentAt(const Document& doc, const QString& path, bool quiet, bool backup) {
    if (QFileInfo(path).fileName().isEmpty()) return false;
    SafeFile finished(path);
    const QByteArray& target = finished.Target();
    const QString shown = Shown(target);
    // Only a regular file is replaced: a folder cannot be, and copying a FIFO
    // or a device for the backup would never end.
    struct stat status {};
    const bool exists = ::stat(target.constData(), &status) == 0;
    if (exists && !S_ISREG(status.st_mode)) {
        ShowMessage(nullptr, LinesOf(shown, S_ISDIR(status.st_mode) ? ReasonOf(EISDIR) : QString()),
                    kMsgFileSaveFailed, kStyleStop);
        return false;
    }

    // The member keeps the name of the file it is saved as.
    const QString name = Shown(target.mid(target.lastIndexOf('/') + 1));
    const auto cabinet = CompressToCabinet(ComposeDocumentFile(doc, quiet), name);
    if (!cabinet) {
        ShowMessage(nullptr, LineOf(shown), kMsgFileSaveFailed, kStyleStop);
        return false;
    }
    if (!finished.open(QIODevice::WriteOnly)) {
        if (finished.DiskFull()) {
            ReportWriteFailure(shown, finished);
        } else {
            ShowMessage(kMsgNoWriteAccess, kStyleInformation);
        }
        return false;
    }
    if (finished.write(*cabinet) != cabinet->size() || !finished.Finish()) {
        ReportWriteFailure(shown, finished);
        return false;
    }
    if (backup && exists && !MakeBackup(target)) return false;
    if (!finished.Commit()) {
        if (IsAccessError(finished.Error())) {
            ShowMessage(kMsgNoWriteAccess, kStyleInformation);
        } else {
            ReportWriteFailure(shown, finished);
        }
        return false;
    }
    return true;
}

}  // namespace

QString BackupPathFor(const QString& path) {
    const QByteArray backup = BackupNameFor(QFile::encodeName(path));
    return backup.isEmpty() ? QString() : Shown(backup);
}

bool OpenDocument(Document& doc, const QString& path) {
    if (path.right(3).toUpper() != u"TSD") return false;
    const QFileInfo info(path);
    if (!info.exists()) {
        ShowMessage(nullptr, LineOf(path), kMsgFileNotFound, kStyleStop);
        return false;
    }
    if (info.isDir()) {
        ShowMessage(kMsgFolderCannotOpen, kStyleStop);
        return false;
    }
    // A FIFO or a device would block the reader or never end.
    if (!IsRegularFile(info.absoluteFilePath())) {
        ShowMessage(nullptr, LineOf(path), kMsgFileOpenFailed, kStyleStop);
        return false;
    }
    // The inner file is read straight from the cabinet into memory; it never
    // needs a place on disk.
    const auto member = ReadCabinet(info.absoluteFilePath());
    if (!member || !ReadDocumentBytes(member->data, doc, false)) return false;
    doc.State().mainSelection = -1;
    doc.SetModified(false);
    return true;
}

bool WriteDocumentSafely(const Document& doc, const QString& path, bool quiet) {
    return WriteDocumentAt(doc, path, quiet, false);
}

bool SaveDocument(Document& doc, const QString& path) {
    const bool backup = GetProfileInt(u"SYS"_qs, u"MakeBackup"_qs, 1) == 1;
    if (!WriteDocumentAt(doc, path, false, backup)) return false;
    WriteProfileString(u"Last"_qs, u"FilePath"_qs,
                       QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    doc.SetModified(false);
    return true;
}

}  // namespace tessaly
