#include "support/refusing_folder.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>

#include "support/test_images.h"

namespace tessaly::test {
namespace {

constexpr int kUnavailable = 77;

bool WriteText(const char* path, const char* text) {
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::WriteOnly) && file.write(text) == qint64(qstrlen(text));
}

// Mounts made from here on are seen by this process alone.
bool PrivateMounts() {
    if (unshare(CLONE_NEWNS) != 0) {
        const QByteArray uid = QByteArray::number(geteuid()), gid = QByteArray::number(getegid());
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 || !WriteText("/proc/self/setgroups", "deny") ||
            !WriteText("/proc/self/uid_map", ("0 " + uid + " 1").constData()) ||
            !WriteText("/proc/self/gid_map", ("0 " + gid + " 1").constData())) {
            return false;
        }
    }
    return mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

bool WriteAll(int fd, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written <= 0) return false;
        done += written;
    }
    return true;
}

}  // namespace

bool NearlyFullFolder(const QString& folder, const QString& previous) {
    const QByteArray kept = ReadFile(previous);
    if (!PrivateMounts() ||
        mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=512k") != 0) {
        return false;
    }
    WriteFile(folder, QFileInfo(previous).fileName(), kept);
    struct statvfs space {};
    if (statvfs(QFile::encodeName(folder).constData(), &space) != 0) return false;
    const qint64 room = qint64(space.f_bavail) * qint64(space.f_frsize);
    WriteFile(folder, u"filler"_qs, QByteArray(std::max<qint64>(0, room - 4096), 'f'));
    return true;
}

bool FileSizeLimit(const QString&, const QString& previous) {
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
    limit.rlim_cur = rlim_t(QFileInfo(previous).size() / 2);
    signal(SIGXFSZ, SIG_IGN);
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

bool ReadOnlyFolder(const QString& folder, const QString&) {
    const QByteArray path = QFile::encodeName(folder);
    if (PrivateMounts()) {
        return mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) == 0 &&
               mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
    }
    // Without mounts, permissions do it, except for the superuser.
    return geteuid() != 0 && chmod(path.constData(), 0555) == 0;
}

std::optional<QStringList> InChildProcess(const std::function<bool()>& prepare,
                                          const std::function<QStringList()>& work) {
    int report[2];
    if (pipe(report) != 0) {
        ADD_FAILURE() << "pipe failed";
        return std::nullopt;
    }
    const pid_t child = fork();
    if (child < 0) {
        ADD_FAILURE() << "fork failed";
        return std::nullopt;
    }
    if (child == 0) {
        ::close(report[0]);
        if (!prepare()) _exit(kUnavailable);
        _exit(WriteAll(report[1], work().join(u'\t').toUtf8()) ? 0 : 1);
    }
    ::close(report[1]);
    QByteArray lines;
    char buffer[4096];
    for (ssize_t got; (got = ::read(report[0], buffer, sizeof buffer)) != 0;) {
        if (got > 0) lines.append(buffer, got);
        else if (errno != EINTR) break;
    }
    ::close(report[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == kUnavailable) return std::nullopt;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    return QString::fromUtf8(lines).split(u'\t');
}

}  // namespace tessaly::test
