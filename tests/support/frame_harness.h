#pragma once

#include <QString>
#include <memory>

#include "app/atelier_doc.h"
#include "app/main_frame.h"
#include "document/edited_document.h"
#include "services/recent_files.h"
#include "support/temp_env.h"

namespace tessaly::test {

// The main window over a document, as the frame and dialog tests use it:
// settings go to a private file in a temporary folder and start from their
// defaults. The window is made on first use, so a test can lay out the
// document (ResetDocument first) before the window first shows it.
class FrameHarness {
public:
    FrameHarness();
    ~FrameHarness();
    FrameHarness(const FrameHarness&) = delete;
    FrameHarness& operator=(const FrameHarness&) = delete;

    EditedDocument& Edited() { return edited_; }
    Document& Doc() { return edited_.Doc(); }
    CMainFrame& Frame();
    CAtelierDoc& AtelierDoc() { return *atelierDoc_; }
    QString Path() const { return temp_.Path(); }

private:
    ScopedTempDir temp_;
    EditedDocument edited_;
    RecentFileList recent_;
    std::unique_ptr<CAtelierDoc> atelierDoc_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace tessaly::test
