#include "image/safe_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tessaly {
namespace {

constexpr int kMaxLinkDepth = 40;
constexpr qsizetype kNameMax = NAME_MAX;
constexpr qsizetype kSuffixLength = 6;

QByteArray FolderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray NameOf(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

QByteArray Absolute(const QByteArray& path) {
    if (path.isEmpty() || path.startsWith('/')) return path;
    char here[PATH_MAX];
    if (::getcwd(here, sizeof here) == nullptr) return {};
    return QByteArray(here) + '/' + path;
}

// The file a path names once every link on the way is followed; a link to
// nothing yet names the file it would create.
QByteArray Resolved(QByteArray path) {
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.constData(), target, sizeof target);
        if (length <= 0 || length >= qsizetype(sizeof target)) break;
        QByteArray next(target, length);
        if (!next.startsWith('/')) next = FolderOf(path) + '/' + next;
        path = next;
    }
    return path;
}

// "." + name + ".TSD", the name shortened so that the six characters after
// it still fit.
QByteArray SiblingPrefix(const QByteArray& target) {
    const QByteArray name = NameOf(target).left(kNameMax - kSuffixLength - 5);
    return '.' + name + QByteArrayLiteral(".TSD");
}

QByteArray RandomSuffix() {
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix(kSuffixLength, '\0');
    for (char& c : suffix) c = kChars[QRandomGenerator::global()->bounded(int(sizeof kChars) - 1)];
    return suffix;
}

// Removes what an interrupted write left under `prefix` in `folder`. A file
// another write still holds is locked and left alone.
void RemoveStaleSiblings(const QByteArray& folder, const QByteArray& prefix) {
    DIR* entries = ::opendir(folder.constData());
    if (entries == nullptr) return;
    while (const dirent* entry = ::readdir(entries)) {
        const QByteArray name(entry->d_name);
        if (name.size() != prefix.size() + kSuffixLength || !name.startsWith(prefix)) continue;
        const QByteArray path = folder + '/' + name;
        const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) continue;
        struct stat status {};
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlink(path.constData());
        }
        ::close(fd);
    }
    ::closedir(entries);
}

// A rename reaches the disk only with its folder.
void SyncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool IsDiskFullError(int error) { return error == ENOSPC || error == EDQUOT; }

bool IsAccessError(int error) { return error == EACCES || error == EPERM || error == EROFS; }

SafeFile::SafeFile(const QString& path)
    : SafeFile(path.isEmpty() ? QByteArray()
                              : QFile::encodeName(QFileInfo(path).absoluteFilePath())) {}

SafeFile::SafeFile(const QByteArray& nativePath) : target_(Resolved(Absolute(nativePath))) {}

SafeFile::~SafeFile() {
    if (!committed_) Discard();
}

bool SafeFile::open(OpenMode mode) {
    if (isOpen() || committed_ || fd_ >= 0) return false;
    if (target_.isEmpty()) return Fail(ENOENT);
    struct stat status {};
    const bool exists = ::stat(target_.constData(), &status) == 0;
    if (exists && !S_ISREG(status.st_mode)) return Fail(S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
    if (exists && ::access(target_.constData(), W_OK) != 0) return Fail(errno);

    const QByteArray folder = FolderOf(target_);
    const QByteArray prefix = SiblingPrefix(target_);
    RemoveStaleSiblings(folder, prefix);
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        const QByteArray path = folder + '/' + prefix + RandomSuffix();
        fd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            temp_ = path;
        } else if (errno != EEXIST) {
            return Fail(errno);
        }
    }
    if (fd_ < 0) return Fail(EEXIST);
    ::flock(fd_, LOCK_EX | LOCK_NB);
    if (exists) ::fchmod(fd_, status.st_mode & 07777);
    return QIODevice::open(mode | ReadWrite | Unbuffered);
}

qint64 SafeFile::size() const {
    struct stat status {};
    return fd_ >= 0 && ::fstat(fd_, &status) == 0 ? qint64(status.st_size) : 0;
}

qint64 SafeFile::readData(char* data, qint64 maxSize) {
    if (fd_ < 0) return -1;
    for (;;) {
        const ssize_t got = ::pread(fd_, data, size_t(maxSize), pos());
        if (got >= 0) return got;
        if (errno != EINTR) return -1;
    }
}

qint64 SafeFile::writeData(const char* data, qint64 size) {
    if (error_ != 0 || fd_ < 0) return -1;
    if (watch_ != nullptr && watch_->keepWriting && !watch_->keepWriting()) {
        Fail(ECANCELED);
        return -1;
    }
    const qint64 at = pos();
    for (qint64 done = 0; done < size;) {
        const ssize_t written = ::pwrite(fd_, data + done, size_t(size - done), at + done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            Fail(written < 0 ? errno : EIO);
            return -1;
        }
        done += written;
    }
    end_ = std::max(end_, at + size);
    return size;
}

bool SafeFile::Finish() {
    if (finished_) return error_ == 0;
    if (fd_ < 0) return Fail(error_ != 0 ? error_ : EBADF);
    if (error_ != 0) return false;
    if (::fsync(fd_) != 0) return Fail(errno);
    struct stat status {};
    if (::fstat(fd_, &status) != 0) return Fail(errno);
    if (status.st_size != end_) return Fail(EIO);
    finished_ = true;
    return true;
}

bool SafeFile::Commit() {
    if (committed_) return false;
    if (watch_ != nullptr && watch_->keepWriting && !watch_->keepWriting()) Fail(ECANCELED);
    if (!Finish() || ::rename(temp_.constData(), target_.constData()) != 0) {
        if (error_ == 0) Fail(errno);
        Discard();
        return false;
    }
    committed_ = true;
    temp_.clear();
    Discard();
    SyncFolder(FolderOf(target_));
    return true;
}

QString SafeFile::Reason() const {
    return error_ == 0 ? QString() : QString::fromLocal8Bit(std::strerror(error_));
}

bool SafeFile::Fail(int error) {
    if (error_ == 0) error_ = error;
    if (watch_ != nullptr) watch_->error = error_;
    setErrorString(Reason());
    return false;
}

void SafeFile::Discard() {
    if (isOpen()) QIODevice::close();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.isEmpty()) ::unlink(temp_.constData());
    temp_.clear();
}

}  // namespace tessaly
