#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/main_frame.h"
#include "app/message_box_presenter.h"
#include "app/services/message_service.h"
#include "document/document.h"
#include "image/working_folder.h"

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

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orvane"));
    QApplication::setApplicationName(QStringLiteral("Tessaly"));
    SetUiFont();
    QTranslator qtTranslation;
    LoadQtTranslation(qtTranslation);

    tessaly::MessageBoxPresenter presenter;
    const PresenterScope presenterScope(&presenter);

    tessaly::Document doc;
    if (!doc.AllocateNodeTables())
        return 1;
    if (!doc.ResetDocument())
        return 1;

    tessaly::CMainFrame frame(doc);
    // A document named on the command line is opened at once.
    const QStringList args = QApplication::arguments();
    if (args.size() > 1) frame.OpenFile(args.at(1));
    frame.show();
    const int exitCode = QApplication::exec();
    // Undo snapshots and other generated files do not outlive the program.
    tessaly::CleanWorkingFolder();
    return exitCode;
}
