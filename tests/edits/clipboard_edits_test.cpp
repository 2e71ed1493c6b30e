#include "edits/clipboard_edits.h"

#include <gtest/gtest.h>

#include <functional>

#include "edits/image_edits.h"
#include "edits/image_size_check.h"
#include "edits/node_turns.h"
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
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kWhite = 0xFFFFFFFF;

class ClipboardEditsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(doc.ResetDocument()); }

    int AddNode(int x, int y, int half, bool selected = true, QRgb colour = kRed) {
        const int i =
            test::AddNode(doc, x, y, half, half, test::PngBytes(test::Filled(8, 8, colour)));
        doc.Mark(i).selected = selected ? 1 : 0;
        if (selected && doc.State().mainSelection < 0) doc.State().mainSelection = i;
        return i;
    }
    QPoint Centre(int i) const { return {doc.Node(i).centerX, doc.Node(i).centerY}; }
    bool Copy() { return CopyNodes(doc, {}, store, clipboard); }
    PastedKind Paste(QPoint offset = kPasteStep) {
        return PasteFromClipboard(edited, store, clipboard, {offset, {300, 200}});
    }
    std::vector<QString> Expected(const QString& text) const {
        return text.isEmpty() ? std::vector<QString>{} : std::vector<QString>{text};
    }

    test::ScopedTempDir temp;
    test::MessageRecorder messages;
    EditedDocument edited;
    Document& doc = edited.Doc();
    CopyStore store;
    test::FakeClipboard clipboard;
};

// Each paste appends the stored nodes one step further as one step of undo,
// selects only them with the first one main, and gives each a picture of
// its own with the copied bytes.
TEST_F(ClipboardEditsTest, RepeatedPastesStepOnFromTheCopy) {
    const QPoint step(10, 30);
    for (const int x : {100, 200, 300}) AddNode(x, 100, 20);
    ASSERT_TRUE(Copy());
    EXPECT_EQ(clipboard.text, kOwnCopyMarker);
    for (const int first : {3, 6}) {
        EXPECT_EQ(Paste(step), PastedKind::Nodes);
        EXPECT_EQ(doc.State().mainSelection, first);
        EXPECT_EQ(edited.UndoCount(), first / 3);
        for (int i = 0; i < first + 3; ++i) EXPECT_EQ(doc.IsSelected(i), i >= first) << i;
        for (int k = 0; k < 3; ++k) {
            const NodeRecord& pasted = doc.Node(first + k);
            EXPECT_EQ(Centre(first + k), Centre(k) + step * (first / 3));
            ASSERT_NE(pasted.picture, doc.Node(k).picture);
            EXPECT_EQ(doc.Picture(pasted.picture)->Encoded(),
                      doc.Picture(doc.Node(k).picture)->Encoded());
        }
    }
}

// The copy keeps the picture it copied: commands that replace the copied
// node's picture since (and release the old one) do not reach the paste.
TEST_F(ClipboardEditsTest, PasteGivesTheCopiedPictureWhateverReplacedItSince) {
    const struct {
        const char* command;
        std::function<void()> run;
    } cases[] = {
        {"mirror", [&] { MirrorSelected(edited, MirrorAxis::LeftRight); }},
        {"turn", [&] { TurnSelected(edited, 270); }},
        {"size check", [&] { ShrinkOversizedPictures(edited, {10, 6}); }},
        {"change image",
         [&] { ReplaceImage(edited, 0, *ImageBlob::FromEncoded(test::JpegBytes(30, 20))); }},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(doc.ResetDocument());
        const QByteArray copied = test::PngBytes(test::Filled(12, 8, kBlue));
        test::AddNode(doc, 100, 100, 24, 16, copied);
        doc.Mark(0).selected = 1;
        doc.State().mainSelection = 0;
        ASSERT_TRUE(Copy());
        c.run();
        ASSERT_NE(doc.Picture(doc.Node(0).picture)->Encoded(), copied) << c.command;

        EXPECT_EQ(Paste(), PastedKind::Nodes) << c.command;
        const ImageBlob* pasted = doc.Picture(doc.Node(1).picture);
        ASSERT_NE(pasted, nullptr) << c.command;
        EXPECT_EQ(pasted->Encoded(), copied) << c.command;
        EXPECT_EQ(pasted->PixelSize(), QSize(12, 8)) << c.command;
    }
}

// A node copied without a picture is pasted without one.
TEST_F(ClipboardEditsTest, PasteOfANodeWithoutPictureGivesNone) {
    test::AddNode(doc, 100, 100, 20, 20, {});
    doc.Mark(0).selected = 1;
    doc.State().mainSelection = 0;
    ASSERT_TRUE(Copy());
    Paste();
    ASSERT_EQ(doc.State().nodeCount, 2);
    EXPECT_FALSE(doc.Node(1).picture);
    EXPECT_EQ(doc.Pictures().Size(), 0u);
}

// A store larger than the room left fills the document, says so once and
// keeps what it pasted.
TEST_F(ClipboardEditsTest, FullDocumentStopsThePaste) {
    for (int i = 0; i < 10; ++i) test::AddNode(doc, 50, 50, 10, 10, {});
    store.nodes.assign(kMaxNodes, StoredNode{doc.Node(0), NodeMark{1, 0}, std::nullopt});
    EXPECT_EQ(PasteNodes(edited, store, kPasteStep), kMaxNodes - 10);
    EXPECT_EQ(doc.State().nodeCount, kMaxNodes);
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_TRUE(messages.Texts()[0].endsWith(LoadString(kMsgImageLimitReached)));
}

// Without a main selection a copy does nothing; without a visible selected
// node it fails with "コピーに失敗しました" and keeps the store.
TEST_F(ClipboardEditsTest, CopyNeedsVisibleSelectedNodes) {
    const struct {
        int mainSelection;
        bool visible;
        int stored;
        QString message;
    } cases[] = {{-1, true, 2, {}}, {0, false, 2, LoadString(kMsgCopyFailed)}, {0, true, 1, {}}};
    for (const auto& c : cases) {
        ASSERT_TRUE(doc.ResetDocument());
        messages.Clear();
        store.nodes.assign(2, StoredNode{});
        AddNode(100, 100, 20);
        doc.Node(0).visible = c.visible ? 1 : 0;
        doc.State().mainSelection = c.mainSelection;
        EXPECT_EQ(Copy(), c.stored == 1);
        EXPECT_EQ(store.Count(), c.stored);
        EXPECT_EQ(messages.Texts(), Expected(c.message));
    }
}

// One node goes to other programs at the size the view shows it; several
// as the canvas under their union at 100 %, an unselected node in it
// included and the canvas edges stopping it.
TEST_F(ClipboardEditsTest, CopiedPictureForOtherPrograms) {
    AddNode(300, 300, 30);
    doc.State().zoom = 2.0f;
    ASSERT_TRUE(Copy());
    EXPECT_EQ(clipboard.image.size(), QSize(120, 120));

    ASSERT_TRUE(doc.ResetDocument());
    doc.State().zoom = 2.0f;
    AddNode(150, 150, 50);
    AddNode(350, 350, 50);
    AddNode(250, 250, 20, false, kBlue);
    ASSERT_TRUE(Copy());
    ASSERT_EQ(clipboard.image.size(), QSize(300, 300));
    EXPECT_EQ(clipboard.image.pixel(50, 50), kRed);
    EXPECT_EQ(clipboard.image.pixel(150, 150), kBlue);
    EXPECT_EQ(clipboard.image.pixel(150, 50), kWhite);

    ASSERT_TRUE(doc.ResetDocument());
    AddNode(20, 500, 50);
    AddNode(980, 980, 50);
    ASSERT_TRUE(Copy());
    EXPECT_EQ(clipboard.image.size(), QSize(1000, 550));
}

// The marker pastes the store (nothing when it is empty, as in another
// running copy of the program); an image from another program becomes one
// selected JPEG node of its size centred on the given point; an image that
// cannot be read is reported.
TEST_F(ClipboardEditsTest, PasteTakesWhatTheClipboardHolds) {
    const struct {
        QString text;
        QImage image;
        bool claimsImage;
        PastedKind kind;
        QString message;
    } cases[] = {
        {kOwnCopyMarker.toString(), test::Gradient(64, 48), false, PastedKind::Nothing, {}},
        {u"text"_qs, {}, false, PastedKind::Nothing, {}},
        {{}, {}, true, PastedKind::Nothing,
         u"エラー(クリップボードからの取得エラー\n)\n"_qs + LoadString(kMsgImagePasteFailed)},
        {u"text"_qs, test::Gradient(64, 48), false, PastedKind::Image, {}},
    };
    for (const auto& c : cases) {
        messages.Clear();
        clipboard.text = c.text;
        clipboard.image = c.image;
        clipboard.claimsImage = c.claimsImage;
        EXPECT_EQ(Paste(), c.kind) << c.text.toStdString();
        EXPECT_EQ(messages.Texts(), Expected(c.message));
    }
    ASSERT_EQ(doc.State().nodeCount, 1);
    const NodeRecord& node = doc.Node(0);
    EXPECT_EQ(QRect(node.Left(), node.Top(), node.Width(), node.Height()), QRect(268, 176, 64, 48));
    EXPECT_TRUE(doc.Picture(node.picture)->IsJpeg());
    EXPECT_EQ(doc.State().mainSelection, 0);
    EXPECT_EQ(edited.UndoCount(), 1);
}

// The paste command moves stored nodes from the copy's insert point to the
// pending one, truncated toward zero; without one, one step.
TEST(PasteCommandOffsetTest, FromCopyPointToInsertPoint) {
    const struct {
        QPoint pending, origin;
        float zoom;
        QPoint offset;
    } cases[] = {{{0, 0}, {5, 5}, 1.0f, kPasteStep},
                 {{300, 200}, {100, 100}, 2.0f, {100, 50}},
                 {{85, 100}, {100, 100}, 2.0f, {-7, 0}}};
    for (const auto& c : cases) {
        EXPECT_EQ(PasteCommandOffset(c.pending, c.origin, c.zoom), c.offset) << c.pending.x();
    }
}

}  // namespace
}  // namespace tessaly
