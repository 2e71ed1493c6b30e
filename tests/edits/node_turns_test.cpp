#include "edits/node_turns.h"

#include <vector>

#include "edits/selection_edit_test.h"
#include "image/image_blob.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

// 40 x 20: the left half red, the right half blue; the top bright, the bottom dark.
QByteArray Quadrants() {
    QImage image(40, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            const int level = y < 10 ? 255 : 100;
            image.setPixel(x, y, x < 20 ? qRgb(level, 0, 0) : qRgb(0, 0, level));
        }
    }
    return test::PngBytes(image);
}

class NodeTurnsTest : public test::SelectionEditTest {
protected:
    QRgb PixelOf(int i, QPoint p) const {
        return doc.Picture(doc.Node(i).picture)->Decode().pixel(p);
    }
};

// The whole group turns as one step of undo, however many nodes it holds,
// and one undo brings every node back: place, size and picture.
TEST_F(NodeTurnsTest, TurningSeveralNodesIsOneUndoStep) {
    const int a = Add(100, 100, 80, 40, Quadrants());
    const int b = Add(300, 100, 40, 20, Quadrants());
    const int edge = Add(980, 500, 40, 20, Quadrants());  // its centre beyond the right edge
    Select({a, b, edge}, a);
    doc.State().canvasWidth = 980;
    std::vector<NodeRecord> before;
    std::vector<QByteArray> pictures;
    for (const int i : {a, b, edge}) {
        before.push_back(doc.Node(i));
        pictures.push_back(doc.Picture(doc.Node(i).picture)->Encoded());
    }

    ASSERT_TRUE(TurnSelected(edited, 270));
    EXPECT_EQ(edited.UndoCount(), 1);
    EXPECT_EQ(doc.Node(a).Width(), 40);  // the scale stays
    EXPECT_EQ(doc.Node(a).Height(), 80);
    EXPECT_EQ(doc.Node(b).centerX, 320);  // so does the centre
    EXPECT_EQ(doc.Node(edge).centerX, 980);
    EXPECT_GT(qRed(PixelOf(a, {15, 5})), 200);  // clockwise: the red half on top

    ASSERT_TRUE(edited.Undo());
    int k = 0;
    for (const int i : {a, b, edge}) {
        const NodeRecord& n = doc.Node(i);
        EXPECT_EQ(QRect(n.Left(), n.Top(), n.Width(), n.Height()),
                  QRect(before[k].Left(), before[k].Top(), before[k].Width(), before[k].Height()))
            << i;
        EXPECT_EQ(doc.Picture(n.picture)->Encoded(), pictures[k]) << i;
        ++k;
    }
    EXPECT_FALSE(edited.Undo());
}

TEST_F(NodeTurnsTest, MirrorsAreOneUndoableEditThatKeepsTheGeometry) {
    // The pixel at (5, 5), bright red before, afterwards shows:
    for (const auto& [axis, red, level] : {std::tuple{MirrorAxis::LeftRight, false, 255},
                                           std::tuple{MirrorAxis::TopBottom, true, 100}}) {
        SetUp();
        const int a = Add(100, 100, 80, 40, Quadrants());
        Select({a, Add(300, 100, 40, 20)}, a);
        const int before = edited.UndoCount();
        ASSERT_TRUE(MirrorSelected(edited, axis));
        EXPECT_EQ(edited.UndoCount() - before, 1);
        EXPECT_EQ(doc.Node(a).Left(), 100);
        EXPECT_EQ(doc.Picture(doc.Node(a).picture)->PixelSize(), QSize(40, 20));
        EXPECT_TRUE(doc.Picture(doc.Node(a).picture)->IsJpeg());
        EXPECT_NEAR(red ? qRed(PixelOf(a, {5, 5})) : qBlue(PixelOf(a, {5, 5})), level, 8);
    }
}

}  // namespace
}  // namespace tessaly
