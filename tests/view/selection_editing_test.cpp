// The selection and mouse editing of the canvas view, driven with real mouse
// and key events.
#include <QApplication>
#include <QMenu>
#include <QtTest>

#include "view/atelier_view.h"
#include "canvas/view_geometry.h"
#include "document/edited_document.h"
#include "resources/ui_strings.h"
#include "services/app_settings.h"
#include "services/settings.h"
#include "support/document_builder.h"
#include "support/status_recorder.h"
#include "support/temp_env.h"

using namespace tessaly;

class SelectionEditingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void clickOnASelectedNodeMovesTheWholeSelection();
    void modifierClicksAddDropOrSelectAlone();
    void tinyDragsMoveNothing();
    void movedNodeStopsWithItsCentreOnTheEdge();
    void moveOutlineIsDrawnWithoutRecomposing();
    void sideHandleScalesOneAxisOfEveryNode();
    void cornerHandleKeepsTheAspectUnlessCtrlIsHeld();
    void handleClickWithoutMoveChangesNothing();
    void rubberBandSelectsOnlyBeyondTenPixels();
    void rightClickOpensTheMenuOfWhatIsUnderIt();
    void rightClickBeyondTheCanvasOpensNothing();
    void menuKeyOpensTheMenuOfTheMainSelection();
    void movesAndResizesCanBeUndoneBelowTwoThousandNodes();
    void hoverShowsCursorsAndGuides();
    void firstPressLeavesTheBackgroundOnlyMode();
    void hoverAnimationStartsOnlyOverUnselectedNodes();

private:
    QWidget* Surface() const { return view_->viewport(); }
    int Add(int centerX, int centerY, int halfWidth, int halfHeight);
    void Select(std::initializer_list<int> nodes, int main);
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers keys = {});
    void CloseMenus();

    std::unique_ptr<test::ScopedTempDir> temp_;
    std::unique_ptr<EditedDocument> edited_;
    Document* doc_ = nullptr;
    std::unique_ptr<CAtelierView> view_;
};

void SelectionEditingTest::init() {
    temp_ = std::make_unique<test::ScopedTempDir>();
    UseSettingsFile(QDir(temp_->Path()).filePath(u"settings.ini"_qs));
    CurrentSettings() = AppSettings{};
    CurrentSettings().playAnime = 0;
    edited_ = std::make_unique<EditedDocument>();
    doc_ = &edited_->Doc();
    QVERIFY(doc_->AllocateNodeTables());
    QVERIFY(doc_->ResetDocument());
    DocState& s = doc_->State();
    s.canvasWidth = 500;
    s.canvasHeight = 400;
    s.zoomConsoleX = 700;  // out of the way of the nodes
    s.zoomConsoleY = 500;
    view_ = std::make_unique<CAtelierView>(*edited_);
    view_->resize(800, 600);
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    view_->InitialUpdate(false);
    doc_->SetModified(false);
}

void SelectionEditingTest::cleanup() {
    CloseMenus();
    view_.reset();
    doc_ = nullptr;
    edited_.reset();
    UseSettingsFile({});
    temp_.reset();
}

int SelectionEditingTest::Add(int centerX, int centerY, int halfWidth, int halfHeight) {
    return test::AddNode(*doc_, centerX, centerY, halfWidth, halfHeight,
                         test::JpegOfExactSize(2000));
}

void SelectionEditingTest::Select(std::initializer_list<int> nodes, int main) {
    for (int n : nodes)
        doc_->Mark(n).selected = 1;
    doc_->State().mainSelection = main;
}

// QTest moves carry no keys; these do, as real pointer moves.
void SelectionEditingTest::Drag(QPoint from, QPoint to, Qt::KeyboardModifiers keys) {
    QTest::mousePress(Surface(), Qt::LeftButton, keys, from);
    for (QPoint p : {(from + to) / 2, to}) {
        QMouseEvent move(QEvent::MouseMove, p, Surface()->mapToGlobal(p), Qt::NoButton,
                         Qt::LeftButton, keys);
        QCoreApplication::sendEvent(Surface(), &move);
    }
    QTest::mouseRelease(Surface(), Qt::LeftButton, keys, to);
}

void SelectionEditingTest::CloseMenus() {
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

void SelectionEditingTest::clickOnASelectedNodeMovesTheWholeSelection() {
    const int a = Add(100, 100, 20, 20);
    const int b = Add(300, 100, 20, 20);
    Select({a, b}, b);
    Drag({100, 100}, {150, 120});
    QCOMPARE(doc_->State().mainSelection, a);
    QVERIFY(doc_->IsSelected(a) && doc_->IsSelected(b));
    QCOMPARE(QPoint(doc_->Node(a).centerX, doc_->Node(a).centerY), QPoint(150, 120));
    QCOMPARE(QPoint(doc_->Node(b).centerX, doc_->Node(b).centerY), QPoint(350, 120));
    QVERIFY(doc_->IsModified());
}

// Which key does what is the selection's own rule; here the keys reach it and
// a click that selects starts a move.
void SelectionEditingTest::modifierClicksAddDropOrSelectAlone() {
    const int a = Add(100, 100, 20, 20);
    const int b = Add(300, 100, 20, 20);
    Select({a}, a);
    Drag({300, 100}, {340, 140}, Qt::ControlModifier);
    QVERIFY(doc_->IsSelected(a) && doc_->IsSelected(b));
    QCOMPARE(doc_->State().mainSelection, b);
    QCOMPARE(doc_->Node(b).centerX, 300);  // Ctrl+click adds without moving

    QTest::mouseClick(Surface(), Qt::LeftButton, Qt::ShiftModifier, {300, 100});
    QVERIFY(!doc_->IsSelected(b));
    QCOMPARE(doc_->State().mainSelection, a);

    Drag({300, 100}, {320, 100}, Qt::ShiftModifier);  // onto an unselected node
    QVERIFY(!doc_->IsSelected(a) && doc_->IsSelected(b));
    QCOMPARE(doc_->Node(b).centerX, 320);
}

void SelectionEditingTest::tinyDragsMoveNothing() {
    const int a = Add(100, 100, 20, 20);
    Select({a}, a);
    Drag({100, 100}, {101, 101});
    QCOMPARE(doc_->Node(a).centerX, 100);
    QCOMPARE(doc_->Node(a).centerY, 100);
    QVERIFY(!doc_->IsModified());
    QCOMPARE(edited_->UndoCount(), 0);
}

void SelectionEditingTest::movedNodeStopsWithItsCentreOnTheEdge() {
    const int a = Add(60, 200, 30, 30);
    Select({a}, a);
    Drag({80, 200}, {5, 200});  // grabbed 20 pixels right of its centre
    QCOMPARE(doc_->Node(a).centerX, 0);
    Drag({0 + 10, 200}, {300, 200});  // grabbed right of its centre, half outside
    QCOMPARE(doc_->Node(a).centerX, 290);
    Drag({290, 200}, {790, 590});  // beyond the canvas's bottom-right corner
    QCOMPARE(QPoint(doc_->Node(a).centerX, doc_->Node(a).centerY), QPoint(500, 400));
}

void SelectionEditingTest::moveOutlineIsDrawnWithoutRecomposing() {
    const int a = Add(100, 100, 20, 20);
    Select({a}, a);
    view_->repaint();
    QTest::mousePress(Surface(), Qt::LeftButton, {}, {100, 100});
    view_->repaint();
    const int composed = view_->ComposeCount();
    for (int i = 1; i <= 10; ++i) {
        QTest::mouseMove(Surface(), QPoint(100 + i * 10, 100 + i * 5));
        view_->repaint();
    }
    QCOMPARE(view_->ComposeCount(), composed);
    // The outline's palest pen runs through the corners of the moved node.
    const QImage shown = Surface()->grab().toImage();
    QCOMPARE(shown.pixel(200 - 20, 150 - 20), qRgb(215, 223, 234));
    QTest::mouseRelease(Surface(), Qt::LeftButton, {}, {200, 150});
    view_->repaint();
    QCOMPARE(view_->ComposeCount(), composed + 1);
    QCOMPARE(doc_->Node(a).centerX, 200);
}

void SelectionEditingTest::sideHandleScalesOneAxisOfEveryNode() {
    const int a = Add(100, 100, 30, 20);
    const int b = Add(300, 250, 10, 15);
    Select({a, b}, a);
    Drag({130, 100}, {190, 100});  // handle 5: the middle of the right side
    QCOMPARE(doc_->Node(a).halfWidth, 60);
    QCOMPARE(doc_->Node(a).centerX, 130);  // the left side stays
    QCOMPARE(doc_->Node(b).halfWidth, 20);
    QCOMPARE(doc_->Node(b).halfHeight, 15);
}

void SelectionEditingTest::cornerHandleKeepsTheAspectUnlessCtrlIsHeld() {
    const int a = Add(200, 200, 40, 20);  // 80 x 40, corners at 160/240, 180/220
    Select({a}, a);
    Drag({240, 220}, {280, 230});  // handle 2: width grew most, the height follows
    QCOMPARE(doc_->Node(a).halfWidth, 60);
    QCOMPARE(doc_->Node(a).halfHeight, 30);
    QCOMPARE(doc_->Node(a).centerX - doc_->Node(a).halfWidth, 160);  // top-left stays
    QCOMPARE(doc_->Node(a).centerY - doc_->Node(a).halfHeight, 180);

    Drag({280, 240}, {310, 250}, Qt::ControlModifier);
    QCOMPARE(doc_->Node(a).halfWidth, 75);
    QCOMPARE(doc_->Node(a).halfHeight, 35);
}

void SelectionEditingTest::handleClickWithoutMoveChangesNothing() {
    const int a = Add(100, 100, 30, 20);
    const int b = Add(300, 100, 30, 20);
    Select({a, b}, b);
    QTest::mouseClick(Surface(), Qt::LeftButton, {}, {130, 100});
    QCOMPARE(doc_->State().mainSelection, a);  // the handle's node becomes main
    QCOMPARE(doc_->Node(a).halfWidth, 30);
    QVERIFY(!doc_->IsModified());
    QCOMPARE(edited_->UndoCount(), 0);
}

void SelectionEditingTest::rubberBandSelectsOnlyBeyondTenPixels() {
    const int a = Add(100, 100, 2, 2);  // 98..102
    const int b = Add(200, 200, 2, 2);
    Select({b}, b);
    // Exactly 10 pixels: the band is drawn, dotted, but selects nothing.
    QTest::mousePress(Surface(), Qt::LeftButton, {}, {95, 95});
    QTest::mouseMove(Surface(), {105, 105});
    view_->repaint();
    const QImage shown = Surface()->grab().toImage();
    int dots = 0;
    for (int x = 95; x <= 105; ++x)
        dots += shown.pixel(x, 95) == qRgb(70, 70, 70) ? 1 : 0;
    QVERIFY(dots >= 3 && dots <= 8);
    QTest::mouseRelease(Surface(), Qt::LeftButton, {}, {105, 105});
    QVERIFY(!doc_->IsSelected(a));
    QVERIFY(!doc_->IsSelected(b));  // the press cleared the selection
    QCOMPARE(doc_->State().mainSelection, -1);

    Drag({95, 95}, {106, 105});
    QVERIFY(doc_->IsSelected(a) && !doc_->IsSelected(b));
    QCOMPARE(doc_->State().mainSelection, a);
}

void SelectionEditingTest::rightClickOpensTheMenuOfWhatIsUnderIt() {
    const int a = Add(100, 100, 20, 20);
    const int b = Add(300, 100, 20, 20);
    Select({a}, a);

    QTest::mouseClick(Surface(), Qt::RightButton, {}, {300, 110});
    QMenu* menu = view_->OpenPopup();
    QVERIFY(menu != nullptr);
    QVERIFY(!doc_->IsSelected(a));  // an unselected node is selected alone
    QVERIFY(doc_->IsSelected(b));
    QCOMPARE(doc_->State().mainSelection, b);
    QCOMPARE(view_->InsertPoint(), QPoint(300, 110));
    QCOMPARE(menu->actions().size(), 12 - 3 + 1);  // three entries sit in "位置(&Z)"
    QCOMPARE(menu->actions().front()->text(), u"位置(&Z)");
    CloseMenus();

    QTest::mouseClick(Surface(), Qt::RightButton, {}, {200, 300});
    menu = view_->OpenPopup();
    QVERIFY(menu != nullptr);
    QCOMPARE(doc_->State().mainSelection, -1);
    QCOMPARE(menu->actions().front()->text(), ui_text::kConsoleToTopLeft);
    QSignalSpy requests(view_.get(), &CAtelierView::commandRequested);
    for (QAction* action : menu->actions()) {
        if (action->data().toInt() == int(CommandId::kShowAll)) {
            QVERIFY(!action->isEnabled());  // nothing is hidden
        }
        if (action->data().toInt() == int(CommandId::kSelectAll)) action->trigger();
        if (action->data().toInt() == int(CommandId::kImageSizeCheck)) action->trigger();
    }
    // Every entry is run by the frame, from the command table.
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests.front().front().value<CommandId>(), CommandId::kSelectAll);
    QCOMPARE(requests.back().front().value<CommandId>(), CommandId::kImageSizeCheck);
    CloseMenus();

    QTest::mouseClick(Surface(), Qt::RightButton, {}, view_->Console().Centre());
    QCOMPARE(view_->OpenPopup(), view_->ZoomMenu());
}

void SelectionEditingTest::rightClickBeyondTheCanvasOpensNothing() {
    const int a = Add(100, 100, 20, 20);
    Select({a}, a);
    QTest::mouseClick(Surface(), Qt::RightButton, {}, {505, 100});
    QVERIFY(view_->OpenPopup() == nullptr);
    QVERIFY(QApplication::activePopupWidget() == nullptr);
    QVERIFY(!doc_->IsSelected(a));
    QCOMPARE(doc_->State().mainSelection, -1);
}

void SelectionEditingTest::menuKeyOpensTheMenuOfTheMainSelection() {
    const int a = Add(100, 100, 20, 20);
    const int b = Add(300, 100, 20, 20);
    Select({a, b}, b);
    QContextMenuEvent key(QContextMenuEvent::Keyboard, {}, Surface()->mapToGlobal(QPoint()));
    QCoreApplication::sendEvent(Surface(), &key);
    QVERIFY(view_->OpenPopup() != nullptr);
    QVERIFY(doc_->IsSelected(a) && doc_->IsSelected(b));  // the selection stays
    QCOMPARE(view_->InsertPoint(), QPoint(300, 100));
}

void SelectionEditingTest::movesAndResizesCanBeUndoneBelowTwoThousandNodes() {
    const int a = Add(100, 100, 20, 20);
    Select({a}, a);
    Drag({100, 100}, {150, 100});
    Drag({170, 100}, {190, 100});  // handle 5
    QCOMPARE(edited_->UndoCount(), 2);
    QVERIFY(edited_->Undo());
    QCOMPARE(doc_->Node(a).halfWidth, 20);
    QCOMPARE(doc_->Node(a).centerX, 150);
    QVERIFY(edited_->Undo());
    QCOMPARE(doc_->Node(a).centerX, 100);

    // From 2000 nodes on no snapshot is taken.
    while (doc_->State().nodeCount < 2000)
        test::AddNode(*doc_, 450, 350, 2, 2, {});
    edited_->ResetHistory();
    doc_->State().mainSelection = a;
    doc_->Mark(a).selected = 1;
    Drag({100, 100}, {150, 100});
    Drag({170, 100}, {190, 100});
    QCOMPARE(doc_->Node(a).centerX, 160);
    QCOMPARE(edited_->UndoCount(), 0);
}

void SelectionEditingTest::hoverShowsCursorsAndGuides() {
    test::StatusRecorder status;
    CurrentSettings().dspGuide = 1;
    const int a = Add(100, 100, 20, 20);
    Add(300, 100, 20, 20);
    Select({a}, a);
    QTest::mouseMove(Surface(), {100, 100});
    QCOMPARE(Surface()->cursor().shape(), Qt::BitmapCursor);  // the drawn move cursor
    QCOMPARE(status.Info(), ui_text::kSelectedEvenNodeGuide);
    QTest::mouseMove(Surface(), {300, 100});
    QCOMPARE(Surface()->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(status.Info(), ui_text::kUnselectedOddNodeGuide);
    QTest::mouseMove(Surface(), {120, 100});  // handle 5
    QCOMPARE(Surface()->cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(Surface(), {200, 300});
    QCOMPARE(Surface()->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(status.Info(), u"");
    Drag({300, 100}, {320, 100});
    QCOMPARE(status.Info(), ui_text::kAfterMoveGuide);

    // With guides off the information line is left alone.
    CurrentSettings().dspGuide = 0;
    QTest::mouseMove(Surface(), {100, 100});
    QCOMPARE(status.Info(), ui_text::kAfterMoveGuide);
}

void SelectionEditingTest::firstPressLeavesTheBackgroundOnlyMode() {
    const int a = Add(100, 100, 20, 20);
    view_->SetBackgroundOnly(true);
    test::StatusRecorder status;
    QTest::mouseMove(Surface(), {100, 100});
    QCOMPARE(status.Pane(StatusPane::kCursor), u"");  // moves are ignored
    QTest::mouseClick(Surface(), Qt::LeftButton, {}, {100, 100});
    QVERIFY(!view_->IsBackgroundOnly());
    QVERIFY(doc_->IsSelected(a));  // the press goes on
}

void SelectionEditingTest::hoverAnimationStartsOnlyOverUnselectedNodes() {
    CurrentSettings().playAnime = 3;
    const int a = Add(100, 100, 20, 20);
    const int b = Add(300, 100, 20, 20);
    Select({a}, a);
    QTest::mouseMove(Surface(), {100, 100});
    QCOMPARE(view_->HoveredNode(), -1);
    QTest::mouseMove(Surface(), {300, 100});
    QCOMPARE(view_->HoveredNode(), b);
    QTest::mouseMove(Surface(), {305, 105});  // still the same node: it keeps running
    QCOMPARE(view_->HoveredNode(), b);
    QTest::mouseMove(Surface(), {100, 100});  // another node stops it
    QCOMPARE(view_->HoveredNode(), -1);
    QTest::mouseMove(Surface(), {300, 100});
    QTest::mousePress(Surface(), Qt::LeftButton, {}, {300, 100});  // any press stops it
    QCOMPARE(view_->HoveredNode(), -1);
    QTest::mouseRelease(Surface(), Qt::LeftButton, {}, {300, 100});
}

QTEST_MAIN(SelectionEditingTest)
#include "selection_editing_test.moc"
