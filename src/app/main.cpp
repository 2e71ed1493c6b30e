#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QLibraryInfo>
#include <QPointer>
#include <QSocketNotifier>
#include <QTranslator>
#include <cerrno>
#include <memory>

#include "app/atelier_app.h"
#include "app/main_frame.h"
#include "app/message_box_presenter.h"
#include "image/regular_file.h"
#include "services/message_service.h"

namespace {

// Keeps message boxes in use until the end of main, whichever way it ends.
class PresenterScope {
public:
    explicit PresenterScope(tessaly::MessagePresenter* presenter) {
        tessaly::InstallMessagePresenter(presenter);
    }
    ~PresenterScope() { tessaly::InstallMessagePresenter(nullptr); }
    PresenterScope(const PresenterScope&) = delete;
    PresenterScope& operator=(const PresenterScope&) = delete;
};

void SetUiFont() {
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("MS UI Gothic"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("IPAGothic")});
    QApplication::setFont(font);
}

// Every text of the program is Japanese, so Qt's own texts (the buttons of
// message boxes and file dialogs) should be too, whatever the locale. Without
// the translation files they stay in English.
void LoadQtTranslation(QTranslator& translator) {
    if (translator.load(QStringLiteral("qtbase_ja"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&translator);
    }
}

// SIGTERM and SIGINT end the editor the way closing its window does, so the
// settings are written and the temporary files removed. The handler only
// writes to a pipe; the event loop reads it and closes the window. A second
// signal (say, the first one is waiting on a "save changes?" question) quits
// at once; the exit sequence still runs.
int g_signalPipe[2] = {-1, -1};

extern "C" void OnTerminationSignal(int signalNumber) {
    const int savedErrno = errno;
    const char byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const ssize_t written = write(g_signalPipe[1], &byte, 1);
    errno = savedErrno;
}

class TerminationSignals {
public:
    explicit TerminationSignals(tessaly::CAtelierApp& atelier) : atelier_(atelier) {
        if (pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
        notifier_ = std::make_unique<QSocketNotifier>(g_signalPipe[0], QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                         [this] { OnSignal(); });
        struct sigaction action {};
        action.sa_handler = OnTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGINT, &action, nullptr);
    }

    ~TerminationSignals() {
        if (!notifier_) return;
        signal(SIGTERM, SIG_DFL);
        signal(SIGINT, SIG_DFL);
        notifier_.reset();
        close(g_signalPipe[0]);
        close(g_signalPipe[1]);
        g_signalPipe[0] = g_signalPipe[1] = -1;
    }

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    void OnSignal() {
        char bytes[16];
        while (read(g_signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        ++received_;
        tessaly::CMainFrame* frame = atelier_.MainFrame();
        if (received_ == 1 && frame && frame->isVisible()) {
            frame->close();
        } else {
            QApplication::quit();
        }
    }

    tessaly::CAtelierApp& atelier_;
    std::unique_ptr<QSocketNotifier> notifier_;
    int received_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    SetUiFont();
    QTranslator qtTranslation;
    LoadQtTranslation(qtTranslation);

    tessaly::MessageBoxPresenter presenter;
    const PresenterScope presenterScope(&presenter);

    tessaly::CAtelierApp atelier;
    const TerminationSignals terminationSignals(atelier);
    // A save beyond a file-size limit fails as any failed save does instead
    // of ending the program with the unsaved work.
    signal(SIGXFSZ, SIG_IGN);
    // The arguments in the file system's own encoding of names.
    tessaly::NativePaths paths;
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        const QString path = paths.FromBytes(QByteArray(argv[i]));
        args.append(path.isEmpty() ? QFile::decodeName(argv[i]) : path);
    }
    if (!atelier.Start(args)) return 1;
    const int exitCode = QApplication::exec();
    atelier.Exit();
    return exitCode;
}
