#include "mosaic/tile_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

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

ReservedTileFile ReserveTileFile(const QString& folder, const QString& base, const QString& type,
                                 int candidates) {
    const QDir dir(folder);
    for (int i = 0; i < candidates; ++i) {
        const QString path = dir.filePath(CandidateName(base, i, type));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return {path, false};
        // Any other reason the name cannot be created holds for the next one too.
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) return {};
    }
    return {{}, true};
}

}  // namespace tessaly
