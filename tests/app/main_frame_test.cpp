#include "app/main_frame.h"
#include "canvas/view/atelier_view.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include "app/my_status_bar.h"
#include "app/services/status_service.h"
#include "document/document.h"

using namespace Qt::StringLiterals;
using tessaly::CMainFrame;
using tessaly::StatusPane;

class MainFrameTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void titleNamesTheUntitledDocument();
    void statusBarShowsTheDocumentOnceShown();
    void statusBarIsReleasedWithTheFrame();
    void exitCommandClosesTheWindow();
    void canvasViewShowsTheFramedWhiteCanvas();

private:
    std::unique_ptr<tessaly::Document> doc_;
};

void MainFrameTest::init() {
    doc_ = std::make_unique<tessaly::Document>();
    QVERIFY(doc_->AllocateNodeTables());
    QVERIFY(doc_->ResetDocument());
}

void MainFrameTest::cleanup() {
    doc_.reset();
}

void MainFrameTest::titleNamesTheUntitledDocument() {
    CMainFrame frame(*doc_);
    QCOMPARE(frame.windowTitle(), u"無題のファイル - Tessaly"_s);
}

void MainFrameTest::statusBarShowsTheDocumentOnceShown() {
    CMainFrame frame(*doc_);
    auto* bar = qobject_cast<tessaly::CMyStatusBar*>(frame.statusBar());
    QVERIFY(bar);
    QCOMPARE(bar, frame.StatusBar());
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCOMPARE(bar->PaneText(StatusPane::kObject), u"0"_s);
    QCOMPARE(bar->PaneText(StatusPane::kPos), QString());
    QCOMPARE(bar->PaneText(StatusPane::kSize), QString());
    QVERIFY(bar->PaneWidget(StatusPane::kObject)->isVisible());

    // The core's status calls reach this frame's bar.
    doc_->State().nodeCount = 2500;
    tessaly::RefreshStatusPanes(*doc_, false);
    QCOMPARE(bar->PaneText(StatusPane::kObject), u"2,500"_s);
    tessaly::SetStatusInfo(u"保存しています"_s);
    QVERIFY(bar->IsInfoShowing());
}

void MainFrameTest::statusBarIsReleasedWithTheFrame() {
    {
        CMainFrame frame(*doc_);
        QVERIFY(tessaly::HasStatusSink());
    }
    QVERIFY(!tessaly::HasStatusSink());
    // Must be skipped, not written into a destroyed bar.
    tessaly::RefreshStatusPanes(*doc_, false);
    tessaly::SetStatusInfo(u"x"_s);
    tessaly::StatusProgress progress(10);
    progress.SetPos(5);
}

void MainFrameTest::exitCommandClosesTheWindow() {
    CMainFrame frame(*doc_);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    QMenu* file = nullptr;
    for (QAction* action : frame.menuBar()->actions()) {
        if (action->text() == u"ファイル(&F)"_s)
            file = action->menu();
    }
    QVERIFY(file);
    QAction* exit = nullptr;
    for (QAction* action : file->actions()) {
        if (action->text() == u"アプリケーションの終了(&X)"_s)
            exit = action;
    }
    QVERIFY(exit);
    exit->trigger();
    QVERIFY(!frame.isVisible());
}

void MainFrameTest::canvasViewShowsTheFramedWhiteCanvas() {
    CMainFrame frame(*doc_);
    frame.resize(800, 600);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QVERIFY(frame.View());
    QCOMPARE(frame.centralWidget(), frame.View());
    const QImage image = frame.View()->viewport()->grab().toImage();
    QVERIFY(!image.isNull());
    // White canvas, its frame line in the default colour along the left edge.
    QCOMPARE(image.pixelColor(400, 300), QColor(Qt::white));
    QCOMPARE(image.pixelColor(0, 300), QColor(0x48, 0x5A, 0x7B));
    // The zoom console floats at its home position.
    QVERIFY(image.pixelColor(79, 79) != QColor(Qt::white));
}

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
