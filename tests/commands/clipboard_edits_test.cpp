#include "commands/clipboard_edits.h"

#include <gtest/gtest.h>

#include "document/edited_document.h"
#include "resources/string_table.h"
#include "support/document_builder.h"
#include "support/fake_clipboard.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kWhite = 0xFFFFFFFF;

class ClipboardEditsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.ResetDocument());
        doc.SetModified(false);
    }

    int AddSelected(int x, int y, int halfWidth, int halfHeight, QRgb colour = kRed) {
        const int i = test::AddNode(doc, x, y, halfWidth, halfHeight,
                                    test::PngBytes(test::Filled(8, 8, colour)));
        doc.Mark(i).selected = 1;
        if (doc.State().mainSelection < 0) doc.State().mainSelection = i;
        return i;
    }

    bool Copy() { return CopyNodes(doc, {}, store, clipboard); }

    PastedKind Paste(QPoint offset = kPasteStep, QPoint imageCentre = {}) {
        return PasteFromClipboard(edited, store, clipboard, {offset, imageCentre});
    }

    test::ScopedTempDir temp;
    test::MessageRecorder messages;
    EditedDocument edited;
    Document& doc = edited.Doc();
    CopyStore store;
    test::FakeClipboard clipboard;
};

// Each paste appends the stored nodes one step further, selects only them
// and makes the first one main; each is one step of undo, and every pasted
// node holds a picture of its own with the copied bytes.
TEST_F(ClipboardEditsTest, RepeatedPastesStepOnFromTheCopy) {
    for (const int x : {100, 200, 300}) AddSelected(x, 100, 20, 15);
    ASSERT_TRUE(Copy());
    EXPECT_EQ(clipboard.text, kOwnCopyMarker);
    const struct {
        int first;
        int shift;
    } pastes[] = {{3, 10}, {6, 20}};
    for (const auto& p : pastes) {
        EXPECT_EQ(Paste(), PastedKind::Nodes);
        EXPECT_EQ(doc.State().nodeCount, p.first + 3);
        EXPECT_EQ(doc.State().mainSelection, p.first);
        EXPECT_EQ(edited.UndoCount(), p.first / 3);
        for (int k = 0; k < 3; ++k) {
            const NodeRecord& pasted = doc.Node(p.first + k);
            EXPECT_EQ(pasted.centerX, doc.Node(k).centerX + p.shift);
            EXPECT_EQ(pasted.centerY, 100 + p.shift);
            ASSERT_NE(pasted.picture, doc.Node(k).picture);
            EXPECT_EQ(doc.Picture(pasted.picture)->Encoded(),
                      doc.Picture(doc.Node(k).picture)->Encoded());
        }
        for (int i = 0; i < doc.State().nodeCount; ++i) {
            EXPECT_EQ(doc.IsSelected(i), i >= p.first) << i;
        }
    }
    EXPECT_TRUE(doc.IsModified());
}

// A pasted node is pushed back inside the canvas by its edges; the stored
// position moves by the whole offset all the same.
TEST_F(ClipboardEditsTest, PastedNodesStayOnTheCanvas) {
    const struct {
        QPoint from;
        QPoint offset;
        QPoint pasted;
        QPoint stored;
    } cases[] = {{{975, 500}, {10, 10}, {980, 510}, {985, 510}},
                 {{30, 30}, {-50, 0}, {20, 30}, {-20, 30}},
                 {{500, 500}, {0, 0}, {500, 500}, {500, 500}}};
    for (const auto& c : cases) {
        ASSERT_TRUE(doc.ResetDocument());
        AddSelected(c.from.x(), c.from.y(), 20, 20);
        ASSERT_TRUE(Copy());
        Paste(c.offset);
        EXPECT_EQ(QPoint(doc.Node(1).centerX, doc.Node(1).centerY), c.pasted) << c.from.x();
        EXPECT_EQ(QPoint(store.records[0].centerX, store.records[0].centerY), c.stored);
    }
}

// A copied node whose picture has been released since gets no picture when
// pasted, never the stale reference of another.
TEST_F(ClipboardEditsTest, PasteGivesNoPictureWhenTheCopiedOneIsGone) {
    AddSelected(100, 100, 20, 20);
    ASSERT_TRUE(Copy());
    doc.Pictures().Release(doc.Node(0).picture);
    const std::size_t pictures = doc.Pictures().Size();
    Paste();
    ASSERT_EQ(doc.State().nodeCount, 2);
    EXPECT_FALSE(doc.Node(1).picture);
    EXPECT_EQ(doc.Pictures().Size(), pictures);
}

// A store larger than the room left fills the document, says so once, and
// keeps what it pasted.
TEST_F(ClipboardEditsTest, FullDocumentStopsThePaste) {
    for (int i = 0; i < 10; ++i) test::AddNode(doc, 50, 50, 10, 10, {});
    store.records.assign(kMaxNodes, doc.Node(0));
    store.marks.assign(kMaxNodes, NodeMark{1, 0});
    EXPECT_EQ(PasteNodes(edited, store, kPasteStep), kMaxNodes - 10);
    EXPECT_EQ(doc.State().nodeCount, kMaxNodes);
    EXPECT_EQ(doc.State().mainSelection, 10);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_TRUE(messages.Texts()[0].endsWith(LoadString(kMsgImageLimitReached)));
}

// Copying needs a main selection (silently) and a visible selected node
// (else "コピーに失敗しました", the store kept as it was).
TEST_F(ClipboardEditsTest, CopyNeedsVisibleSelectedNodes) {
    const struct {
        int mainSelection;
        bool visible;
        bool copied;
        int messages;
    } cases[] = {{-1, true, false, 0}, {0, false, false, 1}, {0, true, true, 0}};
    for (const auto& c : cases) {
        ASSERT_TRUE(doc.ResetDocument());
        messages.Clear();
        store.records.assign(2, NodeRecord{});
        AddSelected(100, 100, 20, 20);
        doc.Node(0).visible = c.visible ? 1 : 0;
        doc.State().mainSelection = c.mainSelection;
        EXPECT_EQ(Copy(), c.copied) << c.mainSelection << c.visible;
        EXPECT_EQ(store.Count(), c.copied ? 1 : 2);
        EXPECT_EQ(messages.Texts(), c.messages == 0 ? std::vector<QString>{}
                                                    : std::vector<QString>{LoadString(kMsgCopyFailed)});
    }
}

// One node goes to other programs at the size the view shows it.
TEST_F(ClipboardEditsTest, OneNodeIsCopiedAtItsShownSize) {
    const struct {
        float zoom;
        QSize size;
    } cases[] = {{2.0f, {120, 80}}, {1.0f, {60, 40}}, {0.5f, {30, 20}}};
    AddSelected(300, 300, 30, 20);
    for (const auto& c : cases) {
        doc.State().zoom = c.zoom;
        ASSERT_TRUE(Copy());
        EXPECT_EQ(clipboard.image.size(), c.size) << c.zoom;
    }
}

// Several nodes go as the canvas under their union at 100 %: an unselected
// node inside it shows, and the area stops at the canvas edges.
TEST_F(ClipboardEditsTest, SeveralNodesAreCopiedAsTheirCanvasArea) {
    doc.State().zoom = 2.0f;
    AddSelected(150, 150, 50, 50, kRed);
    AddSelected(350, 350, 50, 50, kGreen);
    test::AddNode(doc, 250, 250, 20, 20, test::PngBytes(test::Filled(8, 8, kBlue)));
    ASSERT_TRUE(Copy());
    ASSERT_EQ(clipboard.image.size(), QSize(300, 300));
    const struct {
        QPoint at;
        QRgb colour;
    } pixels[] = {{{50, 50}, kRed}, {{250, 250}, kGreen}, {{150, 150}, kBlue}, {{150, 50}, kWhite}};
    for (const auto& p : pixels) {
        EXPECT_EQ(clipboard.image.pixel(p.at), p.colour) << p.at.x() << "," << p.at.y();
    }

    const struct {
        QPoint first;
        QPoint second;
        QSize size;
    } clipped[] = {{{20, 500}, {200, 500}, {250, 100}}, {{980, 980}, {900, 900}, {150, 150}}};
    for (const auto& c : clipped) {
        ASSERT_TRUE(doc.ResetDocument());
        AddSelected(c.first.x(), c.first.y(), 50, 50);
        AddSelected(c.second.x(), c.second.y(), 50, 50);
        ASSERT_TRUE(Copy());
        EXPECT_EQ(clipboard.image.size(), c.size) << c.first.x();
    }
}

// What the clipboard holds decides the paste: the marker pastes the store
// (nothing when it is empty, as in another running copy of the program),
// an image from another program becomes one selected JPEG node centred on
// the given point, and an image that cannot be read is reported.
TEST_F(ClipboardEditsTest, PasteTakesWhatTheClipboardHolds) {
    const QString unreadable = u"エラー(クリップボードからの取得エラー\n)\n"_qs +
                               LoadString(kMsgImagePasteFailed);
    const struct {
        QString text;
        QImage image;
        bool claimsImage;
        PastedKind kind;
        int nodes;
        QString message;
    } cases[] = {
        {kOwnCopyMarker.toString(), test::Gradient(64, 48), false, PastedKind::Nothing, 0, {}},
        {u"text"_qs, test::Gradient(64, 48), false, PastedKind::Image, 1, {}},
        {{}, {}, true, PastedKind::Nothing, 0, unreadable},
        {u"text"_qs, {}, false, PastedKind::Nothing, 0, {}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(doc.ResetDocument());
        messages.Clear();
        clipboard.text = c.text;
        clipboard.image = c.image;
        clipboard.claimsImage = c.claimsImage;
        EXPECT_EQ(Paste(kPasteStep, {300, 200}), c.kind) << c.text.toStdString();
        ASSERT_EQ(doc.State().nodeCount, c.nodes);
        EXPECT_EQ(messages.Texts(), c.message.isEmpty() ? std::vector<QString>{}
                                                        : std::vector<QString>{c.message});
    }
    // The image row: its own size, centred, a JPEG, selected and main.
    clipboard = test::FakeClipboard{};
    clipboard.image = test::Gradient(64, 48);
    const int undoSteps = edited.UndoCount();
    ASSERT_EQ(Paste(kPasteStep, {300, 200}), PastedKind::Image);
    const NodeRecord& node = doc.Node(0);
    EXPECT_EQ(QRect(node.Left(), node.Top(), node.Width(), node.Height()),
              QRect(268, 176, 64, 48));
    EXPECT_TRUE(doc.Picture(node.picture)->IsJpeg());
    EXPECT_TRUE(doc.IsSelected(0));
    EXPECT_EQ(doc.State().mainSelection, 0);
    EXPECT_EQ(edited.UndoCount(), undoSteps + 1);
}

// The paste command moves stored nodes from the copy's insert point to the
// pending one, truncated toward zero; without one, one step.
TEST(PasteCommandOffsetTest, FromCopyPointToInsertPoint) {
    const struct {
        QPoint pending;
        QPoint origin;
        float zoom;
        QPoint offset;
    } cases[] = {{{0, 0}, {5, 5}, 1.0f, kPasteStep},
                 {{300, 200}, {100, 100}, 2.0f, {100, 50}},
                 {{85, 100}, {100, 100}, 2.0f, {-7, 0}},
                 {{300, 200}, {0, 0}, 1.0f, {300, 200}}};
    for (const auto& c : cases) {
        EXPECT_EQ(PasteCommandOffset(c.pending, c.origin, c.zoom), c.offset) << c.pending.x();
    }
}

}  // namespace
}  // namespace tessaly
