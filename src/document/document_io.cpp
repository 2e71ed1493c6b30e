#include "document/document_io.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>

#include "services/message_service.h"
#include "services/settings.h"
#include "document/cabinet.h"
#include "document/document.h"
#include "document/document_file.h"
#include "image/working_folder.h"
#include "resources/string_table.h"

namespace tessaly {
namespace {

QString LineOf(const QString& path) { return QDir::toNativeSeparators(path) + u'\n'; }

// The inner file in the working folder, removed when the open or save ends.
class InnerFile {
public:
    explicit InnerFile(QString path) : path_(std::move(path)) {}
    ~InnerFile() { QFile::remove(path_); }
    InnerFile(const InnerFile&) = delete;
    InnerFile& operator=(const InnerFile&) = delete;
    const QString& Path() const { return path_; }

private:
    QString path_;
};

// Writes the inner file of the document; reports and fails as the save must.
bool WriteInnerFile(const Document& doc, const QString& innerPath) {
    QFile inner(innerPath);
    if (!inner.open(QIODevice::ReadWrite | QIODevice::Truncate)) {
        ShowMessage(nullptr, LineOf(innerPath), kMsgFileOpenFailed, kStyleStop);
        return false;
    }
    if (!WriteDocumentFile(inner, doc, false) || !inner.flush()) {
        ShowMessage(nullptr, LineOf(innerPath), kMsgFileSaveFailed, kStyleStop);
        return false;
    }
    return true;
}

// A new, empty file beside `target` that the finished cabinet is renamed from.
QString NewSiblingFile(const QFileInfo& target) {
    QTemporaryFile file(target.absoluteDir().filePath(u'.' + target.fileName() + QStringLiteral(".XXXXXX")));
    file.setAutoRemove(false);
    return file.open() ? file.fileName() : QString();
}

bool MakeBackup(const QString& path) {
    const QString backup = BackupPathFor(path);
    if (!backup.isEmpty()) {
        QFile::remove(backup);
        if (QFile::copy(path, backup)) return true;
    }
    ShowMessage(kMsgBackupFailed, kStyleStop);
    return false;
}

// Puts the finished cabinet in the target's place in one step.
bool ReplaceTarget(const QString& finished, const QFileInfo& target) {
    const QFileDevice::Permissions permissions =
        target.exists() ? QFile::permissions(target.absoluteFilePath())
                        : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QFile::setPermissions(finished, permissions);
    return std::rename(QFile::encodeName(finished).constData(),
                       QFile::encodeName(target.absoluteFilePath()).constData()) == 0;
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
    // The inner file is read straight from the cabinet into memory; it never
    // needs a place on disk.
    const auto member = ReadCabinet(info.absoluteFilePath());
    if (!member || !ReadDocumentBytes(member->data, doc, false)) return false;
    doc.State().mainSelection = -1;
    doc.SetModified(false);
    return true;
}

bool SaveDocument(Document& doc, const QString& path) {
    const QFileInfo target(path);
    const QString name = target.fileName();
    if (name.isEmpty()) return false;
    const QString work = WorkingFolder();
    if (work.isEmpty()) return false;

    const InnerFile inner(QDir(work).filePath(name));
    if (!WriteInnerFile(doc, inner.Path())) return false;

    const QString finished = NewSiblingFile(target);
    if (finished.isEmpty()) {
        ShowMessage(kMsgNoWriteAccess, kStyleInformation);
        return false;
    }
    const bool saved = CompressCabinet(inner.Path(), name, finished) &&
                       (!target.exists() || GetProfileInt(u"SYS"_qs, u"MakeBackup"_qs, 1) != 1 ||
                        MakeBackup(target.absoluteFilePath()));
    if (!saved) {
        QFile::remove(finished);
        return false;
    }
    if (!ReplaceTarget(finished, target)) {
        QFile::remove(finished);
        ShowMessage(kMsgNoWriteAccess, kStyleInformation);
        return false;
    }
    WriteProfileString(u"Last"_qs, u"FilePath"_qs, QDir::toNativeSeparators(target.absoluteFilePath()));
    doc.SetModified(false);
    return true;
}

}  // namespace tessaly
