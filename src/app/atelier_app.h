#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>

#include "document/edited_document.h"
#include "print/printer_settings.h"
#include "services/recent_files.h"

namespace tessaly {

class CAtelierDoc;
class CMainFrame;

// The root of the editor: owns the one document, the recent-file list, the
// document's file commands, the printer and the main window, and runs
// start-up and exit.
class CAtelierApp {
public:
    CAtelierApp();
    ~CAtelierApp();
    CAtelierApp(const CAtelierApp&) = delete;
    CAtelierApp& operator=(const CAtelierApp&) = delete;

    // Starts the editor with the arguments that follow the program name: the
    // first one, when present, is a document to open. False when start-up
    // failed (the user has been told why); no window is shown then.
    bool Start(const QStringList& args);

    // Writes the settings and the recent-file list back after the main
    // window, and with it the program's temporary files, are gone.
    void Exit();

    EditedDocument& Edited() { return edited_; }
    Document& Doc() { return edited_.Doc(); }
    RecentFileList& Recent() { return recent_; }
    CAtelierDoc& AtelierDoc() { return *atelierDoc_; }
    PrinterSettings& Printer() { return printer_; }
    // The main window; null before start-up and once it has been destroyed.
    CMainFrame* MainFrame() const;

    // Whether start-up asked for the photomosaic console (a reopened
    // document with "Last" / "DspMosaic" = 1).
    bool MosaicConsoleRequested() const { return mosaicConsoleRequested_; }

private:
    // Shows the photomosaic console at start-up.
    void ShowMosaicConsoleAtStart();

    void ReopenLastDocument();

    EditedDocument edited_;
    RecentFileList recent_;
    std::unique_ptr<CAtelierDoc> atelierDoc_;
    PrinterSettings printer_;
    QPointer<CMainFrame> frame_;
    bool mosaicConsoleRequested_ = false;
};

}  // namespace tessaly
