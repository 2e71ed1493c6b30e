#include "commands/node_turns.h"

#include "commands/selection_edit_test.h"
#include "image/image_blob.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

// Left half red, right half blue; top half bright, bottom half dark.
QImage Quadrants() {
    QImage image(40, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            const int level = y < 10 ? 255 : 100;
            image.setPixel(x, y, x < 20 ? qRgb(level, 0, 0) : qRgb(0, 0, level));
        }
    }
    return image;
}

class NodeTurnsTest : public test::SelectionEditTest {
protected:
    QImage PictureOf(int i) const { return doc.Picture(doc.Node(i).picture)->Decode(); }
};

TEST_F(NodeTurnsTest, TurningKNodesTakesUpToKPlusOneUndoSteps) {
    const QByteArray png = test::PngBytes(Quadrants());
    const int a = Add(100, 100, 80, 40, png);
    const int b = Add(300, 100, 40, 20, png);
    const int plain = Add(500, 100, 40, 20);  // no picture, inside: no step of its own
    // Its centre beyond the right edge comes back onto the canvas.
    const int edge = Add(980, 500, 40, 20, png);
    Select({a, b, plain, edge}, a);
    doc.State().canvasWidth = 980;

    ASSERT_TRUE(TurnSelected(edited, 270));
    EXPECT_EQ(edited.UndoCount(), 4);
    EXPECT_EQ(doc.Node(a).Width(), 40);
    EXPECT_EQ(doc.Node(a).Height(), 80);
    EXPECT_EQ(doc.Node(b).centerX, 320);  // the centre stays
    EXPECT_EQ(doc.Node(plain).Width(), 40);
    EXPECT_EQ(doc.Node(edge).centerX, 980);
    // A quarter turn clockwise brings the red left half to the top.
    EXPECT_GT(qRed(PictureOf(a).pixel(15, 5)), 200);

    for (int step = 0; step < 4; ++step)
        ASSERT_TRUE(edited.Undo());
    EXPECT_EQ(doc.Node(a).Width(), 80);
    EXPECT_EQ(doc.Node(edge).centerX, 1000);  // the first step is the group's, before any turn
}

TEST_F(NodeTurnsTest, MirrorsAreOneUndoableEditThatKeepsTheGeometry) {
    struct Row {
        MirrorAxis axis;
        QPoint probe;  // a pixel whose colour changes side
        bool red;      // what it shows afterwards
        int level;
    };
    for (const Row& row : {Row{MirrorAxis::LeftRight, {5, 5}, false, 255},
                           Row{MirrorAxis::TopBottom, {5, 5}, true, 100}}) {
        SetUp();
        const int a = Add(100, 100, 80, 40, test::PngBytes(Quadrants()));
        const int plain = Add(300, 100, 40, 20);
        Select({a, plain}, a);
        const int before = edited.UndoCount();
        ASSERT_TRUE(MirrorSelected(edited, row.axis));
        EXPECT_EQ(edited.UndoCount() - before, 1);
        EXPECT_EQ(doc.Node(a).Width(), 80);
        EXPECT_EQ(doc.Node(a).Left(), 100);
        const ImageBlob* picture = doc.Picture(doc.Node(a).picture);
        EXPECT_TRUE(picture->IsJpeg());
        EXPECT_EQ(picture->PixelSize(), QSize(40, 20));
        const QRgb pixel = picture->Decode().pixel(row.probe);
        EXPECT_NEAR(row.red ? qRed(pixel) : qBlue(pixel), row.level, 8);
    }
}

}  // namespace
}  // namespace tessaly
