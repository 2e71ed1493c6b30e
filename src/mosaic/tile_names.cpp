#include "mosaic/tile_names.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace tessaly {
namespace {

// Leading digits beyond this many are not read: the number stays far from
// overflowing when the counter goes on from it.
constexpr int kMaxLeadingDigits = 15;

qint64 LeadingNumber(const QString& name) {
    qint64 value = 0;
    for (int i = 0; i < std::min<qsizetype>(name.size(), kMaxLeadingDigits); ++i) {
        const QChar c = name.at(i);
        if (c < u'0' || c > u'9') break;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

enum class RenameOutcome { Renamed, NameTaken, Failed };

// Renames `from` to `to` unless `to` exists, in one step. File systems that
// cannot rename so are served by a hard link, which fails alike on an
// existing name, and the removal of the old name.
RenameOutcome RenameToNewName(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return RenameOutcome::Renamed;
    if (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP) {
        if (::link(from.constData(), to.constData()) == 0) {
            ::unlink(from.constData());
            return RenameOutcome::Renamed;
        }
    }
    return errno == EEXIST ? RenameOutcome::NameTaken : RenameOutcome::Failed;
}

QString CandidateName(const QString& base, int index, const QString& type) {
    const QString stem = index == 0 ? base : QStringLiteral("%1(%2)").arg(base).arg(index);
    return stem + u'.' + type;
}

}  // namespace

qint64 NextSequenceNumber(const QString& folder) {
    qint64 largest = 0;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) largest = std::max(largest, LeadingNumber(name));
    return largest + 1;
}

QString SequenceName(qint64 number) {
    return QStringLiteral("%1").arg(number, 6, 10, QChar(u'0'));
}

QString SourceBaseName(const QString& path) {
    const QString normal = QDir::fromNativeSeparators(path);
    const qsizetype slash = normal.lastIndexOf(u'/');
    const qsizetype dot = normal.lastIndexOf(u'.');
    if (slash < 0 || dot < slash) return {};
    return normal.mid(slash + 1, dot - slash - 1);
}

QString NewPartialTile(const QString& folder) {
    QTemporaryFile file(QDir(folder).filePath(kPartialTilePrefix.toString() + u"XXXXXX"_qs));
    file.setAutoRemove(false);
    if (!file.open()) return {};
    // The tile keeps these when it takes its name: readable like any other
    // file the user makes, not private as a temporary file is.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                        QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return file.fileName();
}

void RemoveStalePartialTiles(const QString& folder, std::chrono::seconds age) {
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-age.count());
    const QFileInfoList partial =
        QDir(folder).entryInfoList({kPartialTilePrefix.toString() + u'*'},
                                   QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& file : partial) {
        if (file.lastModified().toUTC() < before) QFile::remove(file.absoluteFilePath());
    }
}

PlacedTileFile PlaceTileFile(const QString& written, const QString& folder, const QString& base,
                             const QString& type, int candidates) {
    const QDir dir(folder);
    const QByteArray from = QFile::encodeName(written);
    for (int i = 0; i < candidates; ++i) {
        const QString path = dir.filePath(CandidateName(base, i, type));
        switch (RenameToNewName(from, QFile::encodeName(path))) {
        case RenameOutcome::Renamed:
            return {path, false};
        case RenameOutcome::NameTaken:
            continue;
        case RenameOutcome::Failed:
            // Any other reason the name cannot be taken holds for the next one too.
            return {};
        }
    }
    return {{}, true};
}

}  // namespace tessaly
