// Copy and paste on the canvas: keys, the paste command's placing and the
// life of the copy store.
#include <QtTest>

#include "canvas/view/atelier_view.h"
#include "document/edited_document.h"
#include "services/settings.h"
#include "support/document_builder.h"
#include "support/fake_clipboard.h"
#include "support/temp_env.h"
#include "support/test_images.h"

using namespace tessaly;

class ClipboardExchangeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void keysCopyAndPasteUntilTheStoreIsEmptied();
    void pasteCommandPlacesByTheInsertPoint();

private:
    void AddSelectedNode(int x, int y);
    QPoint Centre(int node) const { return {doc_->Node(node).centerX, doc_->Node(node).centerY}; }
    void Key(int key) { QTest::keyClick(view_.get(), static_cast<Qt::Key>(key), Qt::ControlModifier); }

    std::unique_ptr<test::ScopedTempDir> temp_;
    test::FakeClipboard clipboard_;
    std::unique_ptr<EditedDocument> edited_;
    Document* doc_ = nullptr;
    std::unique_ptr<CAtelierView> view_;
};

void ClipboardExchangeTest::init() {
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
    clipboard_ = test::FakeClipboard{};
    view_->Exchange().SetClipboardForTesting(&clipboard_);
}

void ClipboardExchangeTest::cleanup() {
    view_.reset();
    doc_ = nullptr;
    edited_.reset();
    UseSettingsFile({});
    temp_.reset();
}

void ClipboardExchangeTest::AddSelectedNode(int x, int y) {
    const int i = test::AddNode(*doc_, x, y, 20, 20, test::JpegBytes(16, 16));
    doc_->Mark(i).selected = 1;
    doc_->State().mainSelection = i;
}

// Ctrl+C keeps the node and Ctrl+V pastes it one step on; an undo, like a
// new document, empties the store, so the next paste finds nothing.
void ClipboardExchangeTest::keysCopyAndPasteUntilTheStoreIsEmptied() {
    const std::function<void()> empties[] = {[this] { edited_->Undo(); },
                                             [this] { view_->InitialUpdate(false); }};
    for (const auto& empty : empties) {
        QVERIFY(doc_->ResetDocument());
        AddSelectedNode(200, 200);
        Key(Qt::Key_C);
        QCOMPARE(clipboard_.text, u"[OBJ]"_qs);
        QCOMPARE(view_->Exchange().Store().Count(), 1);
        Key(Qt::Key_V);
        QCOMPARE(doc_->State().nodeCount, 2);
        QCOMPARE(Centre(1), QPoint(210, 210));

        empty();
        QVERIFY(view_->Exchange().Store().IsEmpty());
        const int nodes = doc_->State().nodeCount;
        Key(Qt::Key_V);
        QCOMPARE(doc_->State().nodeCount, nodes);
    }
}

// The paste command moves copied nodes from the copy's insert point to the
// pending one, and puts an image from another program at the pending point
// or, without one, in the middle of the window; the point is used up.
void ClipboardExchangeTest::pasteCommandPlacesByTheInsertPoint() {
    const struct {
        bool ownCopy;
        QPoint pending;  // view pixels at zoom 2
        bool centreOfWindow;
        QPoint pasted;
    } cases[] = {{true, {600, 500}, false, {300, 250}},
                 {false, {600, 500}, false, {300, 250}},
                 {false, {}, true, {}}};
    for (const auto& c : cases) {
        QVERIFY(doc_->ResetDocument());
        doc_->State().zoom = 2.0f;
        view_->UpdateScrollSizes();
        AddSelectedNode(200, 200);
        view_->SetInsertPoint({400, 400});
        Key(Qt::Key_C);
        if (!c.ownCopy) {
            clipboard_.image = test::Gradient(40, 30);
            clipboard_.text = u"text"_qs;
        }
        view_->SetInsertPoint(c.pending);
        view_->RunPopupCommand(CommandId::kEditPaste);
        QCOMPARE(doc_->State().nodeCount, 2);
        QCOMPARE(Centre(1), c.centreOfWindow ? view_->VisibleCentreOnCanvas() : c.pasted);
        QCOMPARE(view_->InsertPoint(), QPoint());
    }
}

QTEST_MAIN(ClipboardExchangeTest)
#include "clipboard_exchange_test.moc"
