#include "view/atelier_view.h"

#include <QMenu>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest>
#include <cmath>

#include "document/edited_document.h"
#include "resources/string_table.h"
#include "resources/ui_strings.h"
#include "services/settings.h"
#include "services/status_service.h"
#include "support/document_builder.h"
#include "support/fake_clipboard.h"
#include "support/message_recorder.h"
#include "support/status_recorder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

using namespace tessaly;

class AtelierViewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void plusAndMinusZonesChangeTheZoomByOnePoint();
    void consoleMovesOnlyFromFourPixelsOn();
    void quarterTurnOnTheDialAddsItsAngle();
    void wheelZoomsOnTheDialRingAndScrollsElsewhere();
    void altWheelZoomsAroundThePointer();
    void scrollBarOperationsHideTheConsoleUntilTheyEnd();
    void zoomMenuSetsItsLevelsWithinTheLimits();
    void edgeDragAsksAndResizesTheCanvas();
    void shortEdgeDragChangesNothing();
    void feedbackNeverRecomposesTheCanvas();
    void cursorPaneShowsCanvasPixels();
    void hoverAnimationRunsOverTheCachedFrame();
    void keysSelectAndMoveNodes();
    void zoomChangesMarkTheDocumentModified();
    void copyAndPasteKeysUntilTheStoreIsEmptied();
    void pasteCommandPlacesByTheInsertPoint();

private:
    QPoint Centre() const { return view_->Console().Centre(); }
    QWidget* Surface() const { return view_->viewport(); }
    void Drag(QPoint from, const std::vector<QPoint>& through, QPoint to);
    void Roll(QPointF at, int delta, Qt::KeyboardModifiers keys);
    void AddNode(int centerX, int centerY, int halfWidth, int halfHeight);
    void CopySelectedNode(int centerX, int centerY);
    QPoint NodeCentre(int i) const { return {doc_->Node(i).centerX, doc_->Node(i).centerY}; }

    std::unique_ptr<test::ScopedTempDir> temp_;
    std::unique_ptr<EditedDocument> edited_;
    Document* doc_ = nullptr;
    std::unique_ptr<CAtelierView> view_;
    test::FakeClipboard clipboard_;
};

void AtelierViewTest::init() {
    temp_ = std::make_unique<test::ScopedTempDir>();
    UseSettingsFile(QDir(temp_->Path()).filePath(u"settings.ini"_qs));
    edited_ = std::make_unique<EditedDocument>();
    doc_ = &edited_->Doc();
    QVERIFY(doc_->AllocateNodeTables());
    QVERIFY(doc_->ResetDocument());
    view_ = std::make_unique<CAtelierView>(*edited_);
    view_->resize(800, 600);
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    view_->InitialUpdate(false);
    doc_->SetModified(false);
}

void AtelierViewTest::cleanup() {
    view_.reset();
    doc_ = nullptr;
    edited_.reset();
    UseSettingsFile({});
    temp_.reset();
}

void AtelierViewTest::Drag(QPoint from, const std::vector<QPoint>& through, QPoint to) {
    QTest::mousePress(Surface(), Qt::LeftButton, {}, from);
    for (QPoint p : through) QTest::mouseMove(Surface(), p);
    QTest::mouseMove(Surface(), to);
    QTest::mouseRelease(Surface(), Qt::LeftButton, {}, to);
}

void AtelierViewTest::Roll(QPointF at, int delta, Qt::KeyboardModifiers keys) {
    QWheelEvent wheel(at, Surface()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      keys, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Surface(), &wheel);
}

void AtelierViewTest::AddNode(int centerX, int centerY, int halfWidth, int halfHeight) {
    test::AddNode(*doc_, centerX, centerY, halfWidth, halfHeight, {});
}

void AtelierViewTest::plusAndMinusZonesChangeTheZoomByOnePoint() {
    QTest::mouseClick(Surface(), Qt::LeftButton, {}, Centre() + QPoint(0, -45));
    QCOMPARE(doc_->State().zoom, 1.01f);
    QTest::mouseClick(Surface(), Qt::LeftButton, {}, Centre() + QPoint(0, 45));
    QTest::mouseClick(Surface(), Qt::LeftButton, {}, Centre() + QPoint(0, 45));
    QCOMPARE(doc_->State().zoom, 0.99f);
}

void AtelierViewTest::consoleMovesOnlyFromFourPixelsOn() {
    const QPoint start = Centre() + QPoint(100, 100);
    doc_->State().zoomConsoleX = start.x();
    doc_->State().zoomConsoleY = start.y();
    Drag(start, {start + QPoint(2, 1)}, start + QPoint(3, 3));
    QCOMPARE(Centre(), start);
    QVERIFY(!doc_->IsModified());
    Drag(start, {start + QPoint(2, 0)}, start + QPoint(4, 0));
    QCOMPARE(Centre(), start + QPoint(4, 0));
    QVERIFY(doc_->IsModified());
}

void AtelierViewTest::quarterTurnOnTheDialAddsItsAngle() {
    QTest::mouseClick(Surface(), Qt::LeftButton, {}, Centre());  // shows the dial ring
    QVERIFY(view_->Console().IsDialShown());
    const QPoint c = Centre();
    Drag(c + QPoint(69, 0), {}, c + QPoint(0, 69));
    QCOMPARE(doc_->State().zoom, 1.0f + 157 / 100.0f);
}

void AtelierViewTest::wheelZoomsOnTheDialRingAndScrollsElsewhere() {
    QTest::mouseClick(Surface(), Qt::LeftButton, {}, Centre());
    const QPointF ring = Centre() + QPoint(0, 70);
    Roll(ring, 120, Qt::NoModifier);  // away from the user
    QCOMPARE(doc_->State().zoom, 0.9f);
    Roll(ring, -120, Qt::ControlModifier);
    QCOMPARE(doc_->State().zoom, 0.91f);
    QCOMPARE(view_->ScrollPosition(), QPoint(0, 0));

    // Off the ring: the view's own step, then the usual notch of lines;
    // with Ctrl only the fine step.
    const int notch = QApplication::wheelScrollLines() * view_->verticalScrollBar()->singleStep();
    Roll({400, 300}, -120, Qt::NoModifier);
    QCOMPARE(view_->ScrollPosition().y(), 10 + notch);
    Roll({400, 300}, -120, Qt::ControlModifier);
    QCOMPARE(view_->ScrollPosition().y(), 10 + notch + 1);
}

// Alt and the wheel step through the zoom levels; the canvas point under the
// pointer stays under it.
void AtelierViewTest::altWheelZoomsAroundThePointer() {
    doc_->State().canvasWidth = 2000;
    doc_->State().canvasHeight = 1500;
    view_->UpdateScrollSizes();
    view_->ScrollTo({40, 10});
    Roll({300, 200}, 120, Qt::AltModifier);  // away from the user: in
    QCOMPARE(doc_->State().zoom, 2.0f);
    QCOMPARE(view_->ScrollPosition(), QPoint(380, 220));
    Roll({300, 200}, -60, Qt::AltModifier);  // half a notch does nothing yet
    QCOMPARE(doc_->State().zoom, 2.0f);
    Roll({300, 200}, -60, Qt::AltModifier);
    QCOMPARE(doc_->State().zoom, 1.0f);
    QCOMPARE(view_->ScrollPosition(), QPoint(40, 10));
}

void AtelierViewTest::scrollBarOperationsHideTheConsoleUntilTheyEnd() {
    // A press in the page area below the thumb lasts until its release.
    QScrollBar* bar = view_->verticalScrollBar();
    const QPoint pageArea(bar->width() / 2, bar->height() - 2 * bar->width());
    QTest::mousePress(bar, Qt::LeftButton, {}, pageArea);
    QVERIFY(bar->value() > 0);
    QCoreApplication::processEvents();
    QVERIFY(!view_->Console().IsVisible());
    QTest::mouseRelease(bar, Qt::LeftButton, {}, pageArea);
    QVERIFY(view_->Console().IsVisible());

    // A key's step is over once the event loop turns.
    QTest::keyClick(view_.get(), Qt::Key_PageDown);
    QVERIFY(!view_->Console().IsVisible());
    QTRY_VERIFY(view_->Console().IsVisible());
}

void AtelierViewTest::zoomMenuSetsItsLevelsWithinTheLimits() {
    doc_->State().canvasWidth = 1500;
    auto trigger = [&](QStringView text) {
        for (QAction* action : view_->ZoomMenu()->actions()) {
            if (action->text().startsWith(text)) {
                action->trigger();
                return;
            }
        }
        QFAIL("no such entry");
    };
    trigger(u"400%(&4)");
    QCOMPARE(doc_->State().zoom, 5000.0f / 1500.0f);
    trigger(u"100%(&1)");
    QCOMPARE(doc_->State().zoom, 1.0f);
    QVERIFY(view_->ZoomMenu()->actions().front()->text() == ui_text::kConsoleAlwaysShown);
    view_->ZoomMenu()->actions().front()->trigger();
    QCOMPARE(doc_->State().zoomConsolePinned, 0);
}

void AtelierViewTest::edgeDragAsksAndResizesTheCanvas() {
    test::MessageRecorder messages;
    view_->SetZoom(0.5f);
    AddNode(900, 500, 50, 50);  // view rectangle 425..475 at zoom 0.5

    messages.QueueAnswer(kResultYes);
    Drag({500, 300}, {{600, 300}}, {700, 300});
    QCOMPARE(messages.Texts(), std::vector<QString>{LoadString(kMsgAutoAdjustPositions)});
    QCOMPARE(messages.Messages().front().style, int(kStyleYesNoCancel));
    QCOMPARE(doc_->State().canvasWidth, 1400);
    QCOMPARE(doc_->Node(0).centerX, 1260);
    QCOMPARE(doc_->Node(0).halfWidth, 70);
    QCOMPARE(edited_->UndoCount(), 1);

    // "No" keeps the nodes in place and stops at the right-most one.
    doc_->Node(0).centerX = 900;
    doc_->Node(0).halfWidth = 50;
    messages.QueueAnswer(kResultNo);
    Drag({700, 300}, {{500, 300}}, {300, 300});
    QCOMPARE(doc_->State().canvasWidth, 950);
    QCOMPARE(doc_->Node(0).centerX, 900);

    messages.QueueAnswer(kResultCancel);
    Drag({475, 300}, {}, {600, 300});
    QCOMPARE(doc_->State().canvasWidth, 950);
    QCOMPARE(edited_->UndoCount(), 2);
}

void AtelierViewTest::shortEdgeDragChangesNothing() {
    test::MessageRecorder messages;
    const int edge = doc_->State().canvasHeight;  // zoom 1: the bottom edge in view pixels
    view_->ScrollTo({0, edge - 300});
    const int y = edge - view_->ScrollPosition().y();
    Drag({300, y}, {}, {300, y + 2});
    QVERIFY(messages.Messages().empty());
    QCOMPARE(doc_->State().canvasHeight, edge);
}

void AtelierViewTest::feedbackNeverRecomposesTheCanvas() {
    QCoreApplication::processEvents();
    view_->repaint();
    const int composed = view_->ComposeCount();
    const QPoint c = Centre() + QPoint(150, 150);
    doc_->State().zoomConsoleX = c.x();
    doc_->State().zoomConsoleY = c.y();
    QTest::mousePress(Surface(), Qt::LeftButton, {}, c);
    for (int i = 1; i <= 10; ++i) {
        QTest::mouseMove(Surface(), c + QPoint(i * 5, i * 3));
        view_->repaint();
    }
    QCOMPARE(view_->ComposeCount(), composed);
    QTest::mouseRelease(Surface(), Qt::LeftButton, {}, c + QPoint(50, 30));
    view_->repaint();
    QCOMPARE(view_->ComposeCount(), composed);  // the console moved; the canvas did not change

    view_->SetZoom(0.5f);
    view_->repaint();
    QCOMPARE(view_->ComposeCount(), composed + 1);
}

void AtelierViewTest::cursorPaneShowsCanvasPixels() {
    test::StatusRecorder status;
    view_->SetZoom(0.5f);
    QTest::mouseMove(Surface(), {300, 200});
    QCOMPARE(status.Pane(StatusPane::kCursor), u"600, 400");
    QTest::mouseMove(Surface(), {700, 200});  // right of the 500-pixel canvas
    QCOMPARE(status.Pane(StatusPane::kCursor), u"");
}

void AtelierViewTest::zoomChangesMarkTheDocumentModified() {
    QSignalSpy spy(view_.get(), &CAtelierView::zoomChanged);
    view_->ZoomBy(-1);
    QVERIFY(doc_->IsModified());
    QCOMPARE(spy.count(), 1);
}

void AtelierViewTest::hoverAnimationRunsOverTheCachedFrame() {
    AddNode(400, 300, 60, 40);
    view_->InvalidateCanvas();
    view_->repaint();
    const int composed = view_->ComposeCount();
    view_->StartHoverAnimation(0, {400, 300});
    QCOMPARE(view_->HoveredNode(), 0);
    const QImage before = Surface()->grab().toImage();
    QTest::qWait(200);  // several ticks
    view_->repaint();
    QCOMPARE(view_->ComposeCount(), composed);
    QVERIFY(Surface()->grab().toImage() != before);  // the comets moved
    view_->StopHoverAnimation();
    QCOMPARE(view_->HoveredNode(), -1);
    view_->repaint();
    QCOMPARE(view_->ComposeCount(), composed);
}

// Which node a key picks is the selection's rule; here the keys reach it.
void AtelierViewTest::keysSelectAndMoveNodes() {
    AddNode(300, 300, 20, 20);
    AddNode(500, 300, 20, 20);
    view_->setFocus();
    QTest::keyClick(view_.get(), Qt::Key_A, Qt::ControlModifier);
    QVERIFY(doc_->IsSelected(0) && doc_->IsSelected(1));
    QTest::keyClick(view_.get(), Qt::Key_Tab);
    QCOMPARE(doc_->State().mainSelection, 1);
    QVERIFY(!doc_->IsSelected(0));
    QTest::keyClick(view_.get(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(doc_->State().mainSelection, 0);

    // At zoom 4 an arrow moves 2 canvas pixels, with Ctrl 1; each step can be undone.
    view_->SetZoom(4.0f);
    const int undoBefore = edited_->UndoCount();
    QTest::keyClick(view_.get(), Qt::Key_Right);
    QCOMPARE(doc_->Node(0).centerX, 302);
    QTest::keyClick(view_.get(), Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(doc_->Node(0).centerY, 301);
    QCOMPARE(edited_->UndoCount(), undoBefore + 2);
}

void AtelierViewTest::CopySelectedNode(int centerX, int centerY) {
    QVERIFY(doc_->ResetDocument());
    view_->Exchange().SetClipboardForTesting(&clipboard_);
    AddNode(centerX, centerY, 20, 20);
    doc_->Mark(0).selected = 1;
    doc_->State().mainSelection = 0;
    QTest::keyClick(view_.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard_.text, u"[OBJ]"_qs);
}

// Ctrl+V pastes the copy one step on; an undo, like a new document,
// empties the store, so the next paste finds nothing.
void AtelierViewTest::copyAndPasteKeysUntilTheStoreIsEmptied() {
    const std::function<void()> empties[] = {[this] { edited_->Undo(); },
                                             [this] { view_->InitialUpdate(false); }};
    for (const auto& empty : empties) {
        CopySelectedNode(200, 200);
        QTest::keyClick(view_.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(NodeCentre(1), QPoint(210, 210));
        empty();
        QVERIFY(view_->Exchange().Store().IsEmpty());
        const int nodes = doc_->State().nodeCount;
        QTest::keyClick(view_.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(doc_->State().nodeCount, nodes);
    }
}

// The paste command moves copied nodes from the copy's insert point to the
// pending one and puts an image from another program at the pending point,
// or without one in the middle of the window; the point is used up.
void AtelierViewTest::pasteCommandPlacesByTheInsertPoint() {
    const struct {
        bool ownCopy;
        QPoint pending;  // view pixels at zoom 2
        QPoint pasted;   // (0, 0): the middle of the window
    } cases[] = {{true, {600, 500}, {300, 250}}, {false, {600, 500}, {300, 250}}, {false, {}, {}}};
    for (const auto& c : cases) {
        view_->SetInsertPoint({400, 400});
        CopySelectedNode(200, 200);
        view_->SetZoom(2.0f);
        if (!c.ownCopy) {
            clipboard_.text.clear();
            clipboard_.image = test::Gradient(40, 30);
        }
        view_->SetInsertPoint(c.pending);
        view_->Exchange().PasteCommand();
        QCOMPARE(NodeCentre(1), c.pasted.isNull() ? view_->VisibleCentreOnCanvas() : c.pasted);
        QCOMPARE(view_->InsertPoint(), QPoint());
    }
}

QTEST_MAIN(AtelierViewTest)
#include "atelier_view_test.moc"
