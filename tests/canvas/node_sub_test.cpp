#include "canvas/node_sub.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "edits/image_edits.h"
#include "document/edited_document.h"
#include "image/image_blob.h"
#include "support/document_builder.h"
#include "support/message_recorder.h"
#include "support/status_recorder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

constexpr double kPi = std::numbers::pi;
const QRgb kFill = qRgb(255, 247, 255);

// Every pixel tells where it came from: red = 6x, green = 12y.
QImage CoordinateImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(6 * x, 12 * y, 77));
    }
    return image;
}

ImageBlob LosslessPicture(const QImage& image) {
    return *ImageBlob::FromEncoded(test::PngBytes(image));
}

TEST(NodeSubRotate, QuarterTurnSwapsTheSidesAndMovesEveryPixel) {
    const QImage source = CoordinateImage(40, 20);
    const QImage turned = RotatePicture(LosslessPicture(source), kPi / 2);
    ASSERT_EQ(turned.size(), QSize(20, 40));
    ASSERT_EQ(turned.format(), QImage::Format_RGB32);
    // The top right corner comes to the top left, and so on round.
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 20; ++x) {
            ASSERT_EQ(turned.pixel(x, y), source.pixel(39 - y, x)) << x << "," << y;
        }
    }
}

TEST(NodeSubRotate, NoTurnKeepsThePicture) {
    const QImage source = CoordinateImage(33, 17);
    const QImage turned = RotatePicture(LosslessPicture(source), 0.0);
    EXPECT_EQ(turned, source);
}

TEST(NodeSubRotate, HalfTurnKeepsTheSizeAndMirrorsBothWays) {
    const QImage source = CoordinateImage(30, 21);
    const QImage turned = RotatePicture(LosslessPicture(source), kPi);
    ASSERT_EQ(turned.size(), QSize(30, 21));
    EXPECT_EQ(turned.pixel(0, 0), source.pixel(29, 20));
    EXPECT_EQ(turned.pixel(29, 20), source.pixel(0, 0));
    EXPECT_EQ(turned.pixel(10, 5), source.pixel(19, 15));
}

TEST(NodeSubRotate, SlantedTurnGrowsTheSurfaceAndFillsTheCorners) {
    // Corners of 40 x 20 turned by 45 degrees: x' from 0 to 41.0, y' from
    // -27.6 to 13.4, so W' = trunc(41.0 + 1.5) = 42 and H' = trunc(41.0 + 1.5) = 42.
    const QImage turned = RotatePicture(LosslessPicture(CoordinateImage(40, 20)), kPi / 4);
    ASSERT_EQ(turned.size(), QSize(42, 42));
    EXPECT_EQ(turned.pixel(0, 0), kFill);
    EXPECT_EQ(turned.pixel(41, 41), kFill);
    EXPECT_EQ(turned.pixel(41, 0), kFill);
    EXPECT_NE(turned.pixel(21, 21), kFill);
    EXPECT_EQ(qBlue(turned.pixel(21, 21)), 77);
}

TEST(NodeSubRotate, RefusesAnAngleThatIsNoNumber) {
    const ImageBlob picture = LosslessPicture(CoordinateImage(10, 10));
    EXPECT_TRUE(RotatePicture(picture, std::nan("")).isNull());
    EXPECT_TRUE(RotatePicture(picture, INFINITY).isNull());
}

class NodeSubTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(doc.AllocateNodeTables()); }

    test::ScopedTempDir temp;
    test::MessageRecorder messages;
    test::StatusRecorder status;
    EditedDocument edited;
    Document& doc = edited.Doc();
};

TEST_F(NodeSubTest, TurningANodeKeepsItsCentreAndScale) {
    // Drawn at twice the picture's size.
    const int i = test::AddNode(doc, 300, 200, 40, 20, test::JpegBytes(40, 20));
    doc.State().mainSelection = i;
    ASSERT_TRUE(RotateNode(edited, i, kPi / 2));
    const NodeRecord& node = doc.Node(i);
    EXPECT_EQ(doc.Picture(node.picture)->PixelSize(), QSize(20, 40));
    EXPECT_TRUE(doc.Picture(node.picture)->IsJpeg());
    EXPECT_EQ(node.halfWidth, 20);
    EXPECT_EQ(node.halfHeight, 40);
    EXPECT_EQ(node.centerX, 300);
    EXPECT_EQ(node.centerY, 200);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(edited.UndoCount(), 1);
    EXPECT_EQ(status.Pane(StatusPane::kSize),
              QStringLiteral("40×80"));    // refreshed after the change
    EXPECT_EQ(doc.Pictures().Size(), 1u);  // the old picture is released

    // Undo brings back the picture as it was.
    ASSERT_TRUE(edited.Undo());
    EXPECT_EQ(doc.Picture(doc.Node(i).picture)->PixelSize(), QSize(40, 20));
    EXPECT_EQ(doc.Node(i).halfWidth, 40);
}

TEST_F(NodeSubTest, FourQuarterTurnsGiveBackTheSameSizes) {
    const int i = test::AddNode(doc, 300, 200, 30, 17, test::JpegBytes(60, 34));
    for (int turn = 0; turn < 4; ++turn)
        ASSERT_TRUE(RotateNodePicture(doc, i, kPi / 2));
    EXPECT_EQ(doc.Picture(doc.Node(i).picture)->PixelSize(), QSize(60, 34));
    EXPECT_EQ(doc.Node(i).halfWidth, 30);
    EXPECT_EQ(doc.Node(i).halfHeight, 17);
}

TEST_F(NodeSubTest, ScaleIsTakenAlongEachAxis) {
    // Half scale across, full scale down: a 40 x 20 picture shown 20 x 20.
    const int i = test::AddNode(doc, 300, 200, 10, 10, test::JpegBytes(40, 20));
    ASSERT_TRUE(RotateNodePicture(doc, i, kPi / 2));
    EXPECT_EQ(doc.Node(i).halfWidth, 5);    // trunc(10 x 20 / 40)
    EXPECT_EQ(doc.Node(i).halfHeight, 20);  // trunc(20 x 20 / 20)
}

TEST_F(NodeSubTest, NodeWithoutPictureOrOutsideTheTableIsLeftAlone) {
    const int i = test::AddNode(doc, 300, 200, 10, 10, QByteArray());
    EXPECT_FALSE(RotateNode(edited, i, kPi / 2));
    EXPECT_FALSE(RotateNodePicture(doc, -1, kPi / 2));
    EXPECT_FALSE(RotateNodePicture(doc, doc.State().nodeCount, kPi / 2));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(edited.UndoCount(), 0);
    EXPECT_EQ(doc.Node(i).halfWidth, 10);
}

}  // namespace
}  // namespace tessaly
