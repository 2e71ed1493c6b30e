#include "commands/node_turns.h"

#include "commands/selection_edit_test.h"
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

TEST_F(NodeTurnsTest, TurningKNodesTakesUpToKPlusOneUndoSteps) {
    const int a = Add(100, 100, 80, 40, Quadrants());
    const int b = Add(300, 100, 40, 20, Quadrants());
    const int plain = Add(500, 100, 40, 20);              // no picture, inside: no step of its own
    const int edge = Add(980, 500, 40, 20, Quadrants());  // its centre beyond the right edge
    Select({a, b, plain, edge}, a);
    doc.State().canvasWidth = 980;

    ASSERT_TRUE(TurnSelected(edited, 270));
    EXPECT_EQ(edited.UndoCount(), 4);
    EXPECT_EQ(doc.Node(a).Width(), 40);  // the scale stays
    EXPECT_EQ(doc.Node(a).Height(), 80);
    EXPECT_EQ(doc.Node(b).centerX, 320);  // so does the centre
    EXPECT_EQ(doc.Node(edge).centerX, 980);
    EXPECT_GT(qRed(PixelOf(a, {15, 5})), 200);  // clockwise: the red half on top

    for (int step = 0; step < 4; ++step)
        ASSERT_TRUE(edited.Undo());
    EXPECT_EQ(doc.Node(a).Width(), 80);
    EXPECT_EQ(doc.Node(edge).centerX, 1000);  // the first step is the group's
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
