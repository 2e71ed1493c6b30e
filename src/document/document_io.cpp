#include "document/document_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "document/cabinet.h"
#include "document/document.h"
#include "document/document_file.h"
#include "image/regular_file.h"
#include "image/working_folder.h"
#include "resources/string_table.h"
#include "services/message_service.h"
#include "services/settings.h"

namespace tessaly {
namespace {

QString LineOf(const QString& path) { return QDir::toNativeSeparators(path) + u'\n'; }

// The path's line followed by the system's reason, for a failure whose cause
// the user can act on (a full disk, a folder in the way).
QString LinesOf(const QString& path, const QString& reason) {
    return reason.isEmpty() ? LineOf(path) : LineOf(path) + reason + u'\n';
}

QString ReasonOf(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// The inner file in the working folder, removed when the save ends. Its name
// is one the working-folder clean-up removes, should the program stop first.
class InnerFile {
public:
    InnerFile() : path_(NewTempFile()) {}
    ~InnerFile() {
        if (!path_.isEmpty()) QFile::remove(path_);
    }
    InnerFile(const InnerFile&) = delete;
    InnerFile& operator=(const InnerFile&) = delete;
    const QString& Path() const { return path_; }

private:
    QString path_;
};

// Writes the inner file of the document; reports and fails as the save must.
bool WriteInnerFile(const Document& doc, const QString& innerPath, bool quiet) {
    QFile inner(innerPath);
    if (!inner.open(QIODevice::ReadWrite | QIODevice::Truncate)) {
        ShowMessage(nullptr, LineOf(innerPath), kMsgFileOpenFailed, kStyleStop);
        return false;
    }
    if (!WriteDocumentFile(inner, doc, quiet) || !inner.flush()) {
        ShowMessage(nullptr, LinesOf(innerPath, inner.errorString()), kMsgFileSaveFailed,
                    kStyleStop);
        return false;
    }
    return true;
}

// The new document is written beside its target as "." + name + ".TSD" and
// six characters, and renamed over the target once complete and checked.
QString SiblingPrefix(const QFileInfo& target) { return u'.' + target.fileName() + u".TSD"_qs; }

// Removes what an interrupted save of the same target left beside it. A
// sibling another save is still writing is locked and left alone.
void RemoveStaleSiblings(const QFileInfo& target) {
    const QString prefix = SiblingPrefix(target);
    QDirIterator entries(target.absolutePath(), {prefix + u"??????"_qs},
                         QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        const QString path = entries.next();
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) continue;
        struct stat status {};
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            QFile::remove(path);
        }
        ::close(fd);
    }
}

// The finished document beside its target, locked while it is written.
class SiblingFile {
public:
    explicit SiblingFile(const QFileInfo& target)
        : file_(target.absoluteDir().filePath(SiblingPrefix(target) + u"XXXXXX"_qs)) {
        file_.setAutoRemove(true);
        opened_ = file_.open() && ::flock(file_.handle(), LOCK_EX | LOCK_NB) == 0;
    }
    SiblingFile(const SiblingFile&) = delete;
    SiblingFile& operator=(const SiblingFile&) = delete;

    bool Opened() const { return opened_; }
    QString Path() const { return file_.fileName(); }

    // Writes the bytes and makes sure they reached the disk in full: the
    // write, the flush and the sync each succeed and the file has the size
    // written. Empty on success, else the system's reason.
    QString Write(const QByteArray& bytes) {
        if (file_.write(bytes) != bytes.size() || !file_.flush()) {
            const QString reason = file_.errorString();
            return reason.isEmpty() ? ReasonOf(EIO) : reason;
        }
        if (::fsync(file_.handle()) != 0) return ReasonOf(errno);
        struct stat status {};
        if (::fstat(file_.handle(), &status) != 0) return ReasonOf(errno);
        if (status.st_size != bytes.size()) return ReasonOf(EIO);
        return {};
    }

    // Renames the file over the target; afterwards nothing is removed.
    int RenameOver(const QFileInfo& target) {
        const QFileDevice::Permissions permissions =
            target.exists() ? QFile::permissions(target.absoluteFilePath())
                            : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                  QFileDevice::ReadGroup | QFileDevice::ReadOther;
        file_.setPermissions(permissions);
        if (std::rename(QFile::encodeName(file_.fileName()).constData(),
                        QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
            return errno;
        }
        file_.setAutoRemove(false);
        SyncFolder(target.absolutePath());
        return 0;
    }

private:
    // The rename itself reaches the disk only with its folder.
    static void SyncFolder(const QString& folder) {
        const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return;
        ::fsync(fd);
        ::close(fd);
    }

    QTemporaryFile file_;
    bool opened_ = false;
};

bool MakeBackup(const QString& path) {
    const QString backup = BackupPathFor(path);
    if (!backup.isEmpty()) {
        QFile::remove(backup);
        if (QFile::copy(path, backup)) return true;
    }
    ShowMessage(nullptr, backup.isEmpty() ? QString() : LineOf(backup), kMsgBackupFailed,
                kStyleStop);
    return false;
}

bool IsAccessError(int error) { return error == EACCES || error == EPERM || error == EROFS; }

// Writes the document as the cabinet `path`: the inner file in the working
// folder, the cabinet beside the target, checked, then, after the backup
// when `backup` is set, renamed over the target. Any failure leaves the
// previous file as it was and has been reported.
bool WriteDocumentAt(const Document& doc, const QString& path, bool quiet, bool backup) {
    const QFileInfo target(path);
    const QString name = target.fileName();
    if (name.isEmpty()) return false;
    // Only a regular file is replaced: a folder cannot be, and copying a FIFO
    // or a device for the backup would never end.
    if (target.exists() && !IsRegularFile(target.absoluteFilePath())) {
        ShowMessage(nullptr, LinesOf(path, target.isDir() ? ReasonOf(EISDIR) : QString()),
                    kMsgFileSaveFailed, kStyleStop);
        return false;
    }

    const QString work = WorkingFolder();
    if (work.isEmpty()) return false;
    const InnerFile inner;
    if (inner.Path().isEmpty()) {
        ShowMessage(nullptr, LineOf(work), kMsgFileOpenFailed, kStyleStop);
        return false;
    }
    if (!WriteInnerFile(doc, inner.Path(), quiet)) return false;
    const auto cabinet = CompressToCabinet(inner.Path(), name);
    if (!cabinet) {
        ShowMessage(nullptr, LineOf(inner.Path()), kMsgFileSaveFailed, kStyleStop);
        return false;
    }

    RemoveStaleSiblings(target);
    SiblingFile finished(target);
    if (!finished.Opened()) {
        ShowMessage(kMsgNoWriteAccess, kStyleInformation);
        return false;
    }
    if (const QString reason = finished.Write(*cabinet); !reason.isEmpty()) {
        ShowMessage(nullptr, LinesOf(path, reason), kMsgFileSaveFailed, kStyleStop);
        return false;
    }
    if (backup && target.exists() && !MakeBackup(target.absoluteFilePath())) return false;
    if (const int error = finished.RenameOver(target)) {
        if (IsAccessError(error)) {
            ShowMessage(kMsgNoWriteAccess, kStyleInformation);
        } else {
            ShowMessage(nullptr, LinesOf(path, ReasonOf(error)), kMsgFileSaveFailed, kStyleStop);
        }
        return false;
    }
    return true;
}

}  // namespace

QString BackupPathFor(const QString& path) {
    const QFileInfo info(path);
    const qsizetype dot = path.lastIndexOf(u'.');
    if (!info.fileName().contains(u'.') || dot < 0) return {};
    return path.left(dot) + QStringLiteral("(back).TSD");
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
