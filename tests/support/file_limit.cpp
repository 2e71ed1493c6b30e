#include "support/file_limit.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>

#include "support/test_images.h"

namespace tessaly::test {

QString InChildWithFileLimit(const QString& folder, rlim_t limit, bool killed,
                             const std::function<QString()>& work) {
    constexpr int kUnavailable = 77;
    const QString report = QDir(folder).filePath(QStringLiteral("report"));
    const pid_t child = fork();
    if (child == 0) {
        rlimit none{0, 0};
        rlimit saved{};
        setrlimit(RLIMIT_CORE, &none);
        signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
        if (getrlimit(RLIMIT_FSIZE, &saved) != 0) _exit(kUnavailable);
        rlimit small{limit, saved.rlim_max};
        if (setrlimit(RLIMIT_FSIZE, &small) != 0) _exit(kUnavailable);
        const QString seen = work();
        setrlimit(RLIMIT_FSIZE, &saved);
        WriteFile(folder, QStringLiteral("report"), seen.toUtf8());
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) return QStringLiteral("killed");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
    return QString::fromUtf8(ReadFile(report));
}

}  // namespace tessaly::test
