#include "app/atelier_app.h"

#include <QCoreApplication>

#include "app/atelier_doc.h"
#include "app/main_frame.h"
#include "services/app_settings.h"
#include "services/settings.h"

namespace tessaly {

CAtelierApp::CAtelierApp() : atelierDoc_(std::make_unique<CAtelierDoc>(edited_, recent_)) {}

CAtelierApp::~CAtelierApp() {
    // The window refers to the document, the file commands and the recent
    // list, so it goes first.
    delete frame_.data();
}

CMainFrame* CAtelierApp::MainFrame() const {
    return frame_.data();
}

bool CAtelierApp::Start(const QStringList& args) {
    // The settings store: organisation "Orvane", application "Tessaly".
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Tessaly"));
    recent_.Load();

    if (!Doc().AllocateNodeTables()) return false;
    if (!Doc().ResetDocument()) return false;

    printer_.Prepare();

    // The window and its view exist before the command line is processed, so
    // that an opened document is laid out in its view; it is shown after.
    frame_ = new CMainFrame(edited_, *atelierDoc_, recent_);
    frame_->SetPrinter(&printer_);
    atelierDoc_->SetView(frame_->View());

    QString documentPath;
    for (const QString& arg : args) {
        if (!arg.isEmpty() && !arg.startsWith(u'-')) {
            documentPath = arg;
            break;
        }
    }
    const bool started = documentPath.isEmpty() ? atelierDoc_->FileNew(frame_)
                                                : atelierDoc_->OpenPath(frame_, documentPath);
    if (!started) {
        delete frame_.data();
        return false;
    }

    frame_->show();

    CurrentSettings() = AppSettings::Load();

    if (documentPath.isEmpty() &&
        GetProfileInt(kSystemSection, QStringLiteral("FirstOpen"), 0) == 1) {
        ReopenLastDocument();
    }
    return true;
}

void CAtelierApp::ReopenLastDocument() {
    const QString last =
        GetProfileString(QStringLiteral("Recent File List"), QStringLiteral("File1"));
    if (last.isEmpty()) return;
    // A document that can no longer be read has been reported; the editor
    // carries on with the new document.
    atelierDoc_->OpenPath(frame_, last);
    if (CurrentSettings().dspMosaic == 1) ShowMosaicConsoleAtStart();
}

void CAtelierApp::ShowMosaicConsoleAtStart() {
    mosaicConsoleRequested_ = true;
    frame_->OpenMosaicConsole();
}

void CAtelierApp::Exit() {
    if (frame_) CurrentSettings().dspMosaic = frame_->MosaicConsoleShown() ? 1 : 0;
    // The frame removes the generated files of the working folder as it goes.
    delete frame_.data();
    CurrentSettings().Save();
    recent_.Save();
}

}  // namespace tessaly
