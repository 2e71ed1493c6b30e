#include "app/main_frame.h"

#include <QMenuBar>
#include <QPainter>
#include <algorithm>

#include "app/my_status_bar.h"
#include "app/services/status_service.h"
#include "document/document.h"
#include "resources/string_table.h"

namespace tessaly {
namespace {

// Stands where the canvas view will be: a grey workspace with a white
// square canvas fitted into it.
class CanvasPlaceholder final : public QWidget {
public:
    explicit CanvasPlaceholder(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(128, 128, 128));
        const int margin = 16;
        const int side = std::max(0, std::min(width(), height()) - 2 * margin);
        QRect canvas(0, 0, side, side);
        canvas.moveCenter(rect().center());
        painter.fillRect(canvas, Qt::white);
    }
};

}  // namespace

CMainFrame::CMainFrame(Document& doc, QWidget* parent) : QMainWindow(parent), doc_(doc) {
    resize(1024, 768);
    UpdateTitle();
    CreateMenus();
    setCentralWidget(new CanvasPlaceholder(this));
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
    RefreshStatusPanes(doc_, false);
}

void CMainFrame::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(QStringLiteral("アプリケーションの終了(&X)"), this, &QWidget::close);
}

void CMainFrame::UpdateTitle() {
    setWindowTitle(QStringLiteral("%1 - %2").arg(ui_text::kUntitled, ui_text::kAppTitle));
}

}  // namespace tessaly
