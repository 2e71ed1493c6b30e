#include "image/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <climits>

#include "image/working_folder.h"

namespace tessaly {

bool IsRegularFile(const QString& path) {
    struct stat status {};
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &status) == 0 &&
           S_ISREG(status.st_mode);
}

bool OpenRegularFile(QFile& file) {
    if (file.fileName().isEmpty()) return false;
    const int fd =
        ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat status {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

NativePaths::~NativePaths() {
    for (const QString& link : links_) QFile::remove(link);
}

bool NativePaths::IsTextName(const QByteArray& bytes) {
    return QFile::encodeName(QFile::decodeName(bytes)) == bytes;
}

QString NativePaths::FromBytes(const QByteArray& bytes) {
    const QString decoded = QFile::decodeName(bytes);
    if (IsTextName(bytes)) return decoded;
    struct stat status {};
    if (bytes.isEmpty() || ::stat(bytes.constData(), &status) != 0) return {};

    QByteArray absolute = bytes;
    if (!absolute.startsWith('/')) {
        char here[PATH_MAX];
        if (!::getcwd(here, sizeof here)) return {};
        absolute = QByteArray(here) + '/' + bytes;
    }
    const QString folder = WorkingFolder();
    if (folder.isEmpty()) return {};
    // A generated name, so the working-folder clean-up removes a link left
    // behind; the unreadable characters become "_".
    QString readable = QFileInfo(decoded).fileName();
    readable.replace(QChar::ReplacementCharacter, u'_');
    const QString link = QDir(folder).filePath(
        u"TSD"_qs + QString::number(QRandomGenerator::global()->generate64(), 36) + u'_' + readable);
    if (::symlink(absolute.constData(), QFile::encodeName(link).constData()) != 0) return {};
    links_.append(link);
    return link;
}

}  // namespace tessaly
