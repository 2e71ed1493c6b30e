#include "app/main_frame.h"

#include <QFileInfo>
#include <QMenuBar>

#include "app/my_status_bar.h"
#include "app/services/status_service.h"
#include "canvas/view/atelier_view.h"
#include "document/document.h"
#include "document/document_io.h"
#include "resources/string_table.h"

namespace tessaly {
CMainFrame::CMainFrame(Document& doc, QWidget* parent) : QMainWindow(parent), doc_(doc) {
    resize(1024, 768);
    UpdateTitle();
    CreateMenus();
    view_ = new CAtelierView(doc_, this);
    setCentralWidget(view_);
    statusBar_ = new CMyStatusBar(this);
    setStatusBar(statusBar_);
    InstallStatusSink(statusBar_);
}

CMainFrame::~CMainFrame() {
    // The bar goes with this window; the core must not write to it afterwards.
    InstallStatusSink(nullptr);
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    if (documentName_.isEmpty()) view_->InitialUpdate(false);
    view_->setFocus();
}

void CMainFrame::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(QStringLiteral("アプリケーションの終了(&X)"), this, &QWidget::close);
}

bool CMainFrame::OpenFile(const QString& path) {
    if (!OpenDocument(doc_, path)) return false;
    documentName_ = QFileInfo(path).fileName();
    UpdateTitle();
    view_->InitialUpdate(true);
    return true;
}

void CMainFrame::UpdateTitle() {
    const QString name = documentName_.isEmpty() ? ui_text::kUntitled.toString() : documentName_;
    setWindowTitle(QStringLiteral("%1 - %2").arg(name, ui_text::kAppTitle));
}

}  // namespace tessaly
