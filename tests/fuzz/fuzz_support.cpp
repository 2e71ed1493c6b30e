#include "fuzz_support.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "document/document.h"
#include "services/message_service.h"

namespace tessaly::fuzz {
namespace {

// Answers every message box the way nobody being there would, without output:
// rejecting a hostile file is the expected outcome, not something to print
// thousands of times a second.
class SilentPresenter final : public MessagePresenter {
public:
    int Present(QObject*, const QString&, const QString&, int style) override {
        return DefaultAnswer(style);
    }
};

SilentPresenter g_presenter;
std::string g_tempRoot;
// Our own copy of stderr. Image libraries print every complaint about a broken
// picture to stderr themselves; `make fuzz` silences that with libFuzzer's
// -close_fd_mask=2, which keeps libFuzzer's and the sanitizers' reports but
// would also swallow ours.
FILE* g_report = stderr;

void RemoveTempRoot() {
    if (g_tempRoot.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(g_tempRoot, ignored);
}

// Qt's own warnings about unreadable images are noise here; critical and
// fatal messages still reach stderr (and fatal ones still abort).
void QuietMessageHandler(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(g_report, "Qt: %s\n", qUtf8Printable(text));
        std::fflush(g_report);
    }
    if (type == QtFatalMsg) std::abort();
}

}  // namespace

void InitializeFuzzEnvironment(int* argc, char*** argv) {
    // libFuzzer applies -close_fd_mask only after this returns.
    if (const int fd = dup(STDERR_FILENO); fd >= 0) {
        if (FILE* copy = fdopen(fd, "w")) g_report = copy;
    }
    // In memory when possible: a run creates and deletes files and folders, and
    // on a disk file system that waits on the journal far longer than the run.
    const char* base = std::getenv("TESSALY_FUZZ_TMPDIR");
    if (!base || !*base) base = access("/dev/shm", W_OK | X_OK) == 0 ? "/dev/shm" : nullptr;
    if (!base) base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tessaly-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::fprintf(g_report, "mkdtemp %s failed\n", pattern.c_str());
        std::abort();
    }
    g_tempRoot = pattern;
    std::atexit(RemoveTempRoot);
    // The working folder is the system temporary folder + "Tessaly": keep it in here.
    setenv("TMPDIR", g_tempRoot.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt wants a runtime folder and would otherwise make one in TMPDIR.
    const std::string runtime = g_tempRoot + "/runtime";
    if (mkdir(runtime.c_str(), 0700) != 0) {
        std::fprintf(g_report, "mkdir %s failed\n", runtime.c_str());
        std::abort();
    }
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    // GIO would otherwise look for desktop VFS modules on first use of a GFile.
    setenv("GIO_USE_VFS", "local", 1);

    qInstallMessageHandler(QuietMessageHandler);
    InstallMessagePresenter(&g_presenter);
    // Lives until exit; the image plugins are found through it. It gets only
    // the program name: libFuzzer reads its flags from argv after this returns,
    // and Qt would take out the ones it knows.
    static int appArgc = 1;
    static char* appArgv[] = {(*argv)[0], nullptr};
    (void)argc;
    static QGuiApplication* app = new QGuiApplication(appArgc, appArgv);
    (void)app;
}

QString FuzzTempRoot() { return QString::fromStdString(g_tempRoot); }

QString FuzzRuntimeFolder() { return QDir(FuzzTempRoot()).filePath(QStringLiteral("runtime")); }

QString WriteFuzzFile(const QString& name, QByteArrayView bytes) {
    const QString path = QDir(FuzzTempRoot()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), bytes.size()) != bytes.size()) {
        FuzzFailure("cannot write the input file", path);
    }
    return path;
}

void FuzzFailure(const char* what, const QString& detail) {
    std::fprintf(g_report, "FUZZ FAILURE: %s%s%s\n", what, detail.isEmpty() ? "" : ": ",
                 qUtf8Printable(detail));
    std::fflush(g_report);
    std::abort();
}

void CheckReferences(const Document& doc) {
    const DocState& state = doc.State();
    if (state.nodeCount < 0 || state.nodeCount > kMaxNodes) {
        FuzzFailure("node count out of range", QString::number(state.nodeCount));
    }
    std::size_t used = 0;
    if (state.backPicture) {
        if (!doc.Picture(state.backPicture)) FuzzFailure("background refers to no picture");
        ++used;
    }
    for (int i = 0; i < state.nodeCount; ++i) {
        if (!doc.Node(i).picture) continue;
        if (!doc.Picture(doc.Node(i).picture)) FuzzFailure("record refers to no picture", QString::number(i));
        ++used;
    }
    if (doc.Pictures().Size() != used) FuzzFailure("pool holds pictures nothing refers to");
}

}  // namespace tessaly::fuzz
