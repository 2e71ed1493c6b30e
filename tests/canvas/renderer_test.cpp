#include <gtest/gtest.h>

#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <set>

#include "canvas/background_copy.h"
#include "canvas/canvas_image.h"
#include "canvas/canvas_renderer.h"
#include "canvas/view_geometry.h"
#include "document/document.h"
#include "image/decode_cache.h"
#include "image/image_blob.h"
#include "support/document_builder.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

const QRgb kUnpainted = qRgb(255, 0, 255);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);

QImage Solid(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QByteArray SolidPng(int width, int height, QRgb colour) {
    return test::PngBytes(Solid(width, height, colour));
}

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.AllocateNodeTables());
        DocState& s = doc.State();
        s.canvasWidth = 500;
        s.canvasHeight = 500;
        s.zoom = 1.0f;
        s.backColor = MakeColorRef(255, 255, 255);
        s.canvasLineColor = kColorNone;
        s.gridMode = -1;
    }

    RenderOptions Options() const {
        RenderOptions options;
        options.zoom = doc.State().zoom;
        return options;
    }

    // Paints into an image 30 pixels larger than the canvas each way, first
    // filled with a colour the renderer never uses.
    QImage Render(const RenderOptions& options) const {
        const IntRect canvas = CanvasViewRect(doc.State());
        QImage image(canvas.right + 30, canvas.bottom + 30, QImage::Format_RGB32);
        image.fill(kUnpainted);
        QPainter painter(&image);
        PaintCanvas(painter, doc, options);
        return image;
    }
    QImage Render() const { return Render(Options()); }

    // A node with a plain picture; rectangle 80..120 x 90..110 at zoom 1 for
    // the defaults.
    int AddSolidNode(QRgb colour, int centerX = 100, int centerY = 100, int halfWidth = 20,
                     int halfHeight = 10) {
        return test::AddNode(doc, centerX, centerY, halfWidth, halfHeight,
                             SolidPng(2 * halfWidth, 2 * halfHeight, colour));
    }

    Document doc;
};

// Whether every pixel of the canvas (w x h) is one of the given colours.
bool OnlyColours(const QImage& image, int w, int h, std::initializer_list<QRgb> colours) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (std::find(colours.begin(), colours.end(), image.pixel(x, y)) == colours.end()) {
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex
                              << image.pixel(x, y);
                return false;
            }
        }
    }
    return true;
}

bool Near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// --- background and canvas frame ------------------------------------------

TEST_F(RenderTest, BackgroundFillsTheCanvasAndNothingBeyondIt) {
    doc.State().backColor = MakeColorRef(10, 20, 30);
    doc.State().canvasWidth = 600;
    doc.State().canvasHeight = 501;
    doc.State().zoom = 0.5f;  // 300 x 250 view pixels
    const QImage image = Render();
    EXPECT_EQ(image.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(299, 249), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(300, 100), kUnpainted);
    EXPECT_EQ(image.pixel(100, 250), kUnpainted);
}

TEST_F(RenderTest, OutsideOfTheCanvasIsWhiteRightAndBelowOnly) {
    QImage image(100, 80, QImage::Format_RGB32);
    image.fill(kUnpainted);
    QPainter painter(&image);
    PaintOutsideCanvas(painter, {0, 0, 60, 50}, {0, 0, 100, 80});
    painter.end();
    EXPECT_EQ(image.pixel(59, 49), kUnpainted);
    EXPECT_EQ(image.pixel(60, 0), kWhite);
    EXPECT_EQ(image.pixel(0, 50), kWhite);
    EXPECT_EQ(image.pixel(99, 79), kWhite);

    // Only inside the area asked for.
    image.fill(kUnpainted);
    painter.begin(&image);
    PaintOutsideCanvas(painter, {0, 0, 60, 50}, {10, 10, 70, 55});
    painter.end();
    EXPECT_EQ(image.pixel(65, 20), kWhite);
    EXPECT_EQ(image.pixel(20, 52), kWhite);
    EXPECT_EQ(image.pixel(75, 20), kUnpainted);
    EXPECT_EQ(image.pixel(20, 57), kUnpainted);
}

TEST_F(RenderTest, BackgroundCopyIsStretchedOverTheCanvasWhenShown) {
    QImage copy(2, 2, QImage::Format_RGB32);
    copy.setPixel(0, 0, kRed);
    copy.setPixel(1, 0, qRgb(0, 255, 0));
    copy.setPixel(0, 1, kBlue);
    copy.setPixel(1, 1, qRgb(255, 255, 0));
    DocState& s = doc.State();
    s.backColor = MakeColorRef(10, 20, 30);
    s.backPicture = doc.Pictures().Adopt(*ImageBlob::FromEncoded(SolidPng(2, 2, kRed)));
    s.showBackPicture = 1;
    RenderOptions options = Options();
    options.backgroundCopy = &copy;

    QImage image = Render(options);
    EXPECT_TRUE(Near(image.pixel(10, 10), kRed, 2));
    EXPECT_TRUE(Near(image.pixel(490, 10), qRgb(0, 255, 0), 2));
    EXPECT_TRUE(Near(image.pixel(10, 490), kBlue, 2));
    EXPECT_TRUE(Near(image.pixel(490, 490), qRgb(255, 255, 0), 2));
    EXPECT_EQ(image.pixel(505, 10), kUnpainted);

    // Switched off: the background colour, unless only the background is
    // being previewed.
    s.showBackPicture = 0;
    EXPECT_EQ(Render(options).pixel(10, 10), qRgb(10, 20, 30));
    options.backgroundOnly = true;
    EXPECT_TRUE(Near(Render(options).pixel(10, 10), kRed, 2));

    // No background picture in the document: the copy is not used.
    doc.Pictures().Release(s.backPicture);
    EXPECT_EQ(Render(options).pixel(10, 10), qRgb(10, 20, 30));
}

TEST_F(RenderTest, CanvasFrameRunsAlongTheLastPixelsOfTheCanvas) {
    DocState& s = doc.State();
    s.canvasLineColor = MakeColorRef(0, 0, 255);
    s.canvasLineWidth = 1;
    s.canvasLineStyle = 0;
    const QImage image = Render();
    for (QPoint p : {QPoint(0, 250), QPoint(499, 250), QPoint(250, 0), QPoint(250, 499)}) {
        EXPECT_EQ(image.pixel(p), kBlue) << p.x() << "," << p.y();
    }
    EXPECT_EQ(image.pixel(1, 250), kWhite);
    EXPECT_EQ(image.pixel(498, 250), kWhite);
    EXPECT_EQ(image.pixel(500, 250), kUnpainted);

    s.canvasLineColor = kColorNone;
    EXPECT_TRUE(OnlyColours(Render(), 500, 500, {kWhite}));
}

TEST_F(RenderTest, BackgroundPreviewShowsOnlyBackgroundAndFrame) {
    DocState& s = doc.State();
    s.canvasLineColor = MakeColorRef(0, 0, 255);
    s.gridMode = 1;
    s.imageFrames = 1;
    s.imageFrameColor = MakeColorRef(0, 255, 0);
    const int i = AddSolidNode(kRed);
    doc.Mark(i).selected = 1;
    s.mainSelection = i;
    RenderOptions options = Options();
    options.backgroundOnly = true;
    EXPECT_TRUE(OnlyColours(Render(options), 500, 500, {kWhite, kBlue}));
}

// --- grid ------------------------------------------------------------------

const QRgb kMinor = qRgb(191, 191, 191);
const QRgb kMajor = qRgb(127, 127, 127);

class RenderGridTest : public RenderTest {
protected:
    // Colours met in column x on the rows between the horizontal lines.
    std::set<QRgb> ColoursInColumn(const QImage& image, int x, int spacing) const {
        std::set<QRgb> colours;
        for (int y = 0; y < 500; ++y) {
            if (y % spacing != 0) colours.insert(image.pixel(x, y));
        }
        return colours;
    }
};

// Columns are checked at every zoom below; rows run the same way and stop
// with the canvas.
TEST_F(RenderGridTest, RowsRunAcrossTheCanvasOnly) {
    doc.State().gridMode = 1;  // every 10 pixels
    const QImage image = Render();
    for (int x = 0; x < 500; ++x)
        EXPECT_EQ(image.pixel(x, 200), kMajor) << x;
    EXPECT_EQ(image.pixel(505, 200), kUnpainted);
}

TEST_F(RenderGridTest, ColoursFollowTheBackgroundColour) {
    doc.State().gridMode = 1;
    const struct {
        QRgb back, minor, major;
    } cases[] = {{qRgb(100, 50, 200), qRgb(36, 0, 136), qRgb(0, 0, 72)},
                 {qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(128, 128, 128)}};  // black: grey
    for (const auto& c : cases) {
        doc.State().backColor = MakeColorRef(qRed(c.back), qGreen(c.back), qBlue(c.back));
        const QImage image = Render();
        EXPECT_EQ(ColoursInColumn(image, 10, 10), (std::set<QRgb>{c.back, c.minor})) << c.back;
        EXPECT_EQ(ColoursInColumn(image, 100, 10), (std::set<QRgb>{c.major})) << c.back;
    }
}

TEST_F(RenderGridTest, SpacingIsInViewPixelsAtAnyZoom) {
    DocState& s = doc.State();
    s.gridMode = 3;  // every 70 pixels
    s.canvasWidth = 1000;
    s.canvasHeight = 1000;
    for (float zoom : {0.5f, 1.0f, 2.0f}) {
        s.zoom = zoom;
        const QImage image = Render();
        const int size = CanvasViewRect(s).right;
        std::set<QRgb> first, fifth, tenth, between;
        for (int y = 1; y < size; ++y) {
            if (y % 70 == 0) continue;
            first.insert(image.pixel(70, y));
            fifth.insert(image.pixel(350, y));
            if (700 < size) tenth.insert(image.pixel(700, y));
            for (int x : {69, 71, 349, 351, 699, 701}) {
                if (x < size) between.insert(image.pixel(x, y));
            }
        }
        EXPECT_EQ(first, (std::set<QRgb>{kWhite, kMinor})) << zoom;
        EXPECT_EQ(fifth, (std::set<QRgb>{kWhite, kMajor})) << zoom;
        if (700 < size) {
            EXPECT_EQ(tenth, (std::set<QRgb>{kMajor})) << zoom;
        }
        EXPECT_EQ(between, (std::set<QRgb>{kWhite})) << zoom;
    }
}

TEST_F(RenderGridTest, SwitchedOffModesDrawNoGrid) {
    for (int mode : {-3, -1, 0}) {
        doc.State().gridMode = mode;
        EXPECT_TRUE(OnlyColours(Render(), 500, 500, {kWhite})) << mode;
    }
}

TEST_F(RenderGridTest, CentreCrossIsDottedThroughTheMiddle) {
    doc.State().gridMode = 5;
    doc.State().canvasHeight = 300;
    const QImage image = Render();
    int onVertical = 0, onHorizontal = 0;
    for (int y = 0; y < 300; ++y)
        onVertical += image.pixel(250, y) == kMinor ? 1 : 0;
    for (int x = 0; x < 500; ++x)
        onHorizontal += image.pixel(x, 150) == kMinor ? 1 : 0;
    EXPECT_GT(onVertical, 50);
    EXPECT_LT(onVertical, 250);  // dotted
    EXPECT_GT(onHorizontal, 100);
    // Nothing else: the rest of one column and one row is ground.
    for (int k = 0; k < 500; ++k) {
        if (k < 300 && k != 150) {
            EXPECT_EQ(image.pixel(100, k), kWhite) << k;
        }
        if (k != 250) {
            EXPECT_EQ(image.pixel(k, 70), kWhite) << k;
        }
    }
}

TEST_F(RenderGridTest, GridLiesBelowOrAboveTheNodes) {
    doc.State().gridMode = 1;
    AddSolidNode(kRed);  // covers the solid line x = 100
    EXPECT_EQ(Render().pixel(100, 95), kRed);
    doc.State().gridOnTop = 1;
    EXPECT_EQ(Render().pixel(100, 95), kMajor);
}

// --- nodes -------------------------------------------------------------------

TEST_F(RenderTest, NodePictureFillsItsViewRectangle) {
    AddSolidNode(kRed);
    QImage image = Render();
    EXPECT_EQ(image.pixel(80, 90), kRed);
    EXPECT_EQ(image.pixel(119, 109), kRed);
    EXPECT_EQ(image.pixel(79, 100), kWhite);
    EXPECT_EQ(image.pixel(120, 100), kWhite);  // right edge is exclusive
    EXPECT_EQ(image.pixel(100, 110), kWhite);

    doc.State().zoom = 0.3f;  // left trunc(80 x 0.3) = 24, width trunc(40 x 0.3) = 12
    image = Render();
    EXPECT_EQ(image.pixel(24, 27), kRed);
    EXPECT_EQ(image.pixel(35, 32), kRed);
    EXPECT_EQ(image.pixel(36, 30), kWhite);
    EXPECT_EQ(image.pixel(23, 30), kWhite);
}

TEST_F(RenderTest, PicturesAreDecodedAtTheSizeTheyAreDrawn) {
    const int i = test::AddNode(doc, 100, 100, 20, 15, test::JpegBytes(640, 480));
    const ImageBlob& picture = *doc.Picture(doc.Node(i).picture);
    DecodeCache& cache = DecodeCache::Instance();
    Render();
    EXPECT_FALSE(cache.Find(picture.Serial(), QSize(40, 30)).isNull());
    EXPECT_TRUE(cache.Find(picture.Serial(), QSize(640, 480)).isNull());

    // A painter that magnifies asks for the size on its surface.
    QImage image(1100, 1100, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.scale(2.0, 2.0);
    PaintCanvas(painter, doc, Options());
    painter.end();
    EXPECT_FALSE(cache.Find(picture.Serial(), QSize(80, 60)).isNull());
}

TEST_F(RenderTest, LaterRecordsLieOnTop) {
    AddSolidNode(kRed, 100, 100);
    AddSolidNode(kBlue, 110, 100);
    EXPECT_EQ(Render().pixel(115, 100), kBlue);
    std::swap(doc.Node(0), doc.Node(1));
    EXPECT_EQ(Render().pixel(115, 100), kRed);
    EXPECT_EQ(Render().pixel(85, 100), kRed);
    EXPECT_EQ(Render().pixel(125, 100), kBlue);
}

TEST_F(RenderTest, HiddenNodesAndRecordsBeyondTheNodeCountLeaveNoTrace) {
    DocState& s = doc.State();
    s.imageFrames = 1;
    s.imageFrameColor = MakeColorRef(0, 255, 0);
    const int i = AddSolidNode(kRed);
    doc.Mark(i).selected = 1;
    s.mainSelection = i;
    doc.Node(i).visible = 0;  // no picture, frame or marks
    EXPECT_TRUE(OnlyColours(Render(), 500, 500, {kWhite}));
    doc.Node(i).visible = 1;
    s.nodeCount = 0;
    EXPECT_TRUE(OnlyColours(Render(), 500, 500, {kWhite}));
}

TEST_F(RenderTest, ColourAdjustingOverWhiteLooksLikeThePlainPicture) {
    test::AddNode(doc, 150, 120, 60, 45, test::JpegBytes(97, 61));
    test::AddNode(doc, 300, 300, 33, 71, test::JpegBytes(40, 90));
    const QImage plain = Render();
    doc.State().adjustColors = 1;
    EXPECT_EQ(Render(), plain);
}

TEST_F(RenderTest, ColourAdjustingTintsThePictureWithTheGroundBeneath) {
    DocState& s = doc.State();
    s.adjustColors = 1;
    s.backColor = MakeColorRef(255, 255, 0);
    const int i = AddSolidNode(qRgb(200, 200, 200));
    EXPECT_EQ(Render().pixel(100, 100), qRgb(200, 200, 0));

    // The mosaic background puts the cell colour under the picture first.
    s.mosaicBackground = 1;
    doc.Node(i).cellColor = MakeColorRef(255, 0, 0);
    EXPECT_EQ(Render().pixel(100, 100), qRgb(200, 0, 0));
    EXPECT_EQ(Render().pixel(79, 100), qRgb(255, 255, 0));

    // Without colour adjusting the cell colour plays no part.
    s.adjustColors = 0;
    EXPECT_EQ(Render().pixel(100, 100), qRgb(200, 200, 200));
}

TEST_F(RenderTest, ImageFramesUseTheGivenColourOrTheNodesOwn) {
    DocState& s = doc.State();
    s.imageFrames = 1;
    s.imageFrameWidth = 1;
    s.imageFrameStyle = 0;
    s.imageFrameColor = kColorNone;
    const int i = AddSolidNode(kRed);
    NodeRecord& node = doc.Node(i);
    node.avgRed[0] = 10;
    node.avgGreen[0] = 200;
    node.avgBlue[0] = 30;
    node.avgRed[1] = 99;  // other sections play no part
    QImage image = Render();
    const QRgb own = qRgb(10, 200, 30);
    for (QPoint p : {QPoint(80, 100), QPoint(120, 100), QPoint(100, 90), QPoint(100, 110)}) {
        EXPECT_EQ(image.pixel(p), own) << p.x() << "," << p.y();
    }
    EXPECT_EQ(image.pixel(81, 100), kRed);

    s.imageFrameColor = MakeColorRef(0, 0, 255);
    image = Render();
    EXPECT_EQ(image.pixel(80, 100), kBlue);
    EXPECT_EQ(image.pixel(120, 100), kBlue);

    s.imageFrames = 0;
    EXPECT_EQ(Render().pixel(80, 100), kRed);
    EXPECT_EQ(Render().pixel(120, 100), kWhite);
}

TEST_F(RenderTest, MultiCutModeFramesEveryNodeGreyAndCombinesWithoutCellColour) {
    DocState& s = doc.State();
    s.backColor = MakeColorRef(255, 255, 0);
    s.mosaicBackground = 1;
    const int cut = AddSolidNode(kWhite);
    doc.Node(cut).cellColor = MakeColorRef(255, 0, 0);
    AddSolidNode(kWhite, 300, 300);
    int overlays = 0;
    RenderOptions options = Options();
    options.multiCutNode = cut;
    options.multiCutOverlay = [&overlays](QPainter& painter) {
        ++overlays;
        painter.fillRect(QRect(100, 100, 1, 1), QColor(0, 0, 255));
    };
    QImage image = Render(options);
    EXPECT_EQ(overlays, 1);
    const QRgb grey = qRgb(192, 192, 192);
    EXPECT_EQ(image.pixel(80, 95), grey);
    EXPECT_EQ(image.pixel(120, 95), grey);
    EXPECT_EQ(image.pixel(280, 300), grey);
    EXPECT_EQ(image.pixel(81, 95), qRgb(255, 255, 0));  // white picture AND yellow ground
    EXPECT_EQ(image.pixel(100, 100), kBlue);            // the overlay comes after the node

    // The grey frame is trunc(zoom) wide.
    s.zoom = 3.0f;
    options.zoom = 3.0f;
    image = Render(options);
    int greyColumns = 0;
    for (int x = 230; x < 250; ++x)
        greyColumns += image.pixel(x, 285) == grey ? 1 : 0;
    EXPECT_EQ(greyColumns, 3);
}

// --- selection marks -----------------------------------------------------------

TEST_F(RenderTest, HandlePointsAreCornersThenSideMidpoints) {
    const auto points = SelectionHandlePoints({80, 90, 121, 111});
    const std::array<QPoint, 8> expected = {QPoint(80, 90),   QPoint(121, 90), QPoint(121, 111),
                                            QPoint(80, 111),  QPoint(100, 90), QPoint(121, 100),
                                            QPoint(100, 111), QPoint(80, 100)};
    EXPECT_EQ(points, expected);
    EXPECT_EQ(SelectionHandleRect(0, {80, 90}), (IntRect{76, 86, 84, 94}));
    EXPECT_EQ(SelectionHandleRect(4, {100, 90}), (IntRect{97, 87, 103, 93}));
}

// Each of the eight marks: outline on its border, fill inside, the picture or
// the ground just beyond its exclusive right and bottom edges.
TEST_F(RenderTest, MainSelectionMarksHaveTheirColoursAtTheirPixels) {
    const int i = AddSolidNode(kRed);
    doc.Mark(i).selected = 1;
    doc.State().mainSelection = i;
    const QImage image = Render();
    const QRgb outline = qRgb(64, 128, 192), fill = qRgb(0, 64, 128);
    const auto points = SelectionHandlePoints(NodeViewRect(doc, i));
    const auto unmarked = [&](int x, int y) {
        return image.pixel(x, y) == kWhite || image.pixel(x, y) == kRed;
    };
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(k);
        const IntRect r = SelectionHandleRect(k, points[static_cast<std::size_t>(k)]);
        for (QPoint p : {QPoint(r.left, r.top), QPoint(r.right - 1, r.top),
                         QPoint(r.left, r.bottom - 1), QPoint(r.right - 1, r.bottom - 1)})
            EXPECT_EQ(image.pixel(p), outline) << p.x() << "," << p.y();
        EXPECT_EQ(image.pixel(r.left + 1, r.top + 1), fill);
        EXPECT_EQ(image.pixel(r.right - 2, r.bottom - 2), fill);
        EXPECT_TRUE(unmarked(r.left - 1, r.top + 1) && unmarked(r.left + 1, r.top - 1));
        EXPECT_TRUE(unmarked(r.right, r.bottom - 1) && unmarked(r.right - 1, r.bottom));
    }
}

TEST_F(RenderTest, OtherSelectedNodesGetRedMarksAndPicturelessOnesToo) {
    const int a = AddSolidNode(kBlue);
    const int b = AddSolidNode(kBlue, 300, 300);
    const int c = test::AddNode(doc, 300, 100, 20, 10, QByteArray());  // no picture
    ASSERT_FALSE(doc.Node(c).picture);
    for (int i : {a, b, c})
        doc.Mark(i).selected = 1;
    doc.State().mainSelection = a;
    const QImage image = Render();
    EXPECT_EQ(image.pixel(76, 86), qRgb(64, 128, 192));
    EXPECT_EQ(image.pixel(276, 286), qRgb(255, 132, 132));
    EXPECT_EQ(image.pixel(277, 287), qRgb(255, 68, 68));
    EXPECT_EQ(image.pixel(276, 86), qRgb(255, 132, 132));
    EXPECT_EQ(image.pixel(300, 100), kWhite);  // no picture drawn
}

TEST_F(RenderTest, UnselectedNodesGetNoMarks) {
    const int i = AddSolidNode(kRed);
    doc.State().mainSelection = i;  // main selection without the mark set
    EXPECT_TRUE(OnlyColours(Render(), 500, 500, {kWhite, kRed}));
}

// --- the canvas as one image ----------------------------------------------------

// Where no node covers the canvas of a document that shows its background
// picture: a plain copy of that picture, or the prepared copy when one is
// given. The document keeps its zoom.
TEST_F(RenderTest, CanvasImageShowsTheBackgroundPictureWhereNoNodeCovers) {
    const QRgb kGreen = qRgb(0, 255, 0), kYellow = qRgb(255, 255, 0);
    DocState& s = doc.State();
    s.backColor = MakeColorRef(0, 0, 255);
    s.showBackPicture = 1;
    s.backPicture = doc.Pictures().Adopt(*ImageBlob::FromEncoded(SolidPng(50, 30, kGreen)));
    AddSolidNode(kRed);
    const QImage yellow = Solid(4, 4, kYellow);
    const struct {
        const QImage* copy;
        QRgb uncovered;
    } cases[] = {{nullptr, kGreen}, {&yellow, kYellow}};
    for (const auto& c : cases) {
        CanvasImageRequest request;
        request.zoom = 0.5f;
        request.backgroundCopy = c.copy;
        const QImage image = RenderCanvasImage(doc, request);
        ASSERT_EQ(image.size(), QSize(250, 250));
        EXPECT_TRUE(Near(image.pixel(10, 10), c.uncovered, 2)) << std::hex << image.pixel(10, 10);
        EXPECT_TRUE(Near(image.pixel(249, 249), c.uncovered, 2));
        EXPECT_EQ(image.pixel(50, 50), kRed);
    }
    EXPECT_EQ(s.zoom, 1.0f);
    // The zoom is clamped as the view clamps it.
    CanvasImageRequest tooLarge;
    tooLarge.zoom = 100.0f;
    EXPECT_EQ(RenderCanvasImage(doc, tooLarge).width(), CanvasToView(kMaxZoom, 500));
}

// With the view's marks the image is the view's canvas pixel for pixel;
// without them (export, print) the grid and the handles are left out.
TEST_F(RenderTest, CanvasImageIsTheViewsCanvasWithOrWithoutItsMarks) {
    DocState& s = doc.State();
    s.gridMode = 1;
    s.showBackPicture = 1;
    s.backPicture = doc.Pictures().Adopt(*ImageBlob::FromEncoded(SolidPng(8, 8, kBlue)));
    const int i = AddSolidNode(kRed);
    doc.Mark(i).selected = 1;
    s.mainSelection = i;
    const QImage copy = BackgroundCopy(doc);
    RenderOptions options = Options();
    options.backgroundCopy = &copy;
    EXPECT_EQ(RenderCanvasImage(doc, {}), Render(options).copy(0, 0, 500, 500));

    CanvasImageRequest bare;
    bare.viewMarks = false;
    EXPECT_TRUE(OnlyColours(RenderCanvasImage(doc, bare), 500, 500, {kBlue, kRed}));
}

// The copy keeps the picture's pixel size up to the canvas width; a
// wider picture is narrowed to it, its height in proportion.
TEST_F(RenderTest, BackgroundCopyIsNoWiderThanTheCanvas) {
    DocState& s = doc.State();
    EXPECT_TRUE(RebuildBackgroundCopy(doc).isNull());
    const struct {
        QSize picture;
        QSize copy;
    } cases[] = {{{500, 900}, {500, 900}}, {{1500, 600}, {500, 200}}, {{2000, 3}, {500, 1}}};
    for (const auto& c : cases) {
        doc.Pictures().Release(s.backPicture);
        s.backPicture = doc.Pictures().Adopt(
            *ImageBlob::FromEncoded(SolidPng(c.picture.width(), c.picture.height(), kRed)));
        const QImage copy = RebuildBackgroundCopy(doc);
        EXPECT_EQ(copy.size(), c.copy) << c.picture.width();
        EXPECT_TRUE(Near(copy.pixel(0, 0), kRed, 2));
    }
}

// --- painting part of the view -----------------------------------------------------

class RenderAreaTest : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        DocState& s = doc.State();
        s.zoom = 1.3f;
        s.gridMode = 1;
        s.backColor = MakeColorRef(230, 240, 200);
        s.canvasLineColor = MakeColorRef(0, 0, 200);
        s.canvasLineStyle = 1;
        s.canvasLineWidth = 3;
        s.imageFrames = 1;
        s.imageFrameStyle = 3;
        s.imageFrameWidth = 2;
        s.imageFrameColor = kColorNone;
        for (int k = 0; k < 12; ++k) {
            const int i = test::AddNode(doc, 40 + 37 * k, 30 + 41 * k, 25 + k, 18 + 2 * k,
                                        test::JpegBytes(30 + k * 5, 20 + k * 3));
            doc.Node(i).avgGreen[0] = static_cast<std::uint8_t>(20 * k);
            doc.Mark(i).selected = k % 3 == 0 ? 1 : 0;
        }
        s.mainSelection = 3;
    }
};

// Pixels of `image` that differ from `expected`, at most a few of them named.
int CountDifferences(const QImage& image, const QImage& expected, QPoint origin) {
    int differences = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == expected.pixel(x, y)) continue;
            if (++differences <= 5) {
                ADD_FAILURE() << "view pixel " << x + origin.x() << "," << y + origin.y();
            }
        }
    }
    return differences;
}

TEST_F(RenderAreaTest, PartOfTheViewMatchesTheWholeViewThere) {
    DocState& s = doc.State();
    // Thin and wide broken lines: dashes and dots must stay where they are on
    // the canvas however the view is scrolled.
    for (int lineWidth : {1, 3}) {
        s.canvasLineWidth = lineWidth;
        s.imageFrameWidth = lineWidth == 1 ? 1 : 2;
        const QImage whole = Render();
        for (const IntRect area : {IntRect{137, 61, 391, 333}, IntRect{1, 2, 300, 250},
                                   IntRect{250, 301, 680, 680}, IntRect{0, 0, 650, 650}}) {
            RenderOptions options = Options();
            options.viewArea = area;
            const QImage part = Render(options);
            QImage expected(whole.size(), whole.format());
            expected.fill(kUnpainted);
            QPainter copier(&expected);
            copier.drawImage(area.ToQRect(), whole, area.ToQRect());
            copier.end();
            EXPECT_EQ(CountDifferences(part, expected, {}), 0) << lineWidth;

            // As the view paints: the painter moved by the scroll position.
            QImage window(area.Width(), area.Height(), QImage::Format_RGB32);
            window.fill(kUnpainted);
            QPainter painter(&window);
            painter.translate(-area.left, -area.top);
            PaintCanvas(painter, doc, options);
            painter.end();
            EXPECT_EQ(CountDifferences(window, whole.copy(area.ToQRect()), {area.left, area.top}),
                      0)
                << lineWidth << " scrolled to " << area.left << "," << area.top;
        }
    }
}

// Bands of the canvas picture, stacked, are the picture painted at once; a
// poster passes the view's 5000 pixels a side, the view's zoom does not.
TEST_F(RenderAreaTest, BandsMakeTheWholePictureAndPostersPassTheViewsCap) {
    DocState& s = doc.State();
    s.canvasHeight = 700;
    CanvasImageRequest request;
    request.zoom = s.zoom;
    request.viewMarks = false;
    const QImage whole = RenderCanvasImage(doc, request);
    ASSERT_EQ(CanvasImageSize(doc, request), whole.size());
    const BandPainter paint = CanvasBandPainter(doc, request);
    for (int top = 0; top < whole.height(); top += 97) {
        const QImage band = paint(top, 97);
        ASSERT_EQ(band.size(), QSize(whole.width(), std::min(97, whole.height() - top))) << top;
        EXPECT_EQ(CountDifferences(band, whole.copy(0, top, band.width(), band.height()), {0, top}), 0);
    }
    EXPECT_TRUE(paint(whole.height(), 10).isNull());

    s.canvasWidth = 1500;
    s.canvasHeight = 600;
    request.zoom = 4.0f;
    EXPECT_EQ(CanvasImageSize(doc, request), QSize(5000, 2000));
    request.poster = true;
    EXPECT_EQ(CanvasImageSize(doc, request), QSize(6000, 2400));
    EXPECT_EQ(CanvasBandPainter(doc, request)(2390, 64).size(), QSize(6000, 10));
    request.zoom = 100.0f;
    EXPECT_EQ(CanvasImageSize(doc, request), QSize(6000, 2400));
}

TEST_F(RenderAreaTest, PicturesOutsideTheAreaAreNotDecoded) {
    // A picture of its own, never drawn before, in the top right corner where
    // no other node lies.
    const int lone = test::AddNode(doc, 450, 60, 20, 20, test::JpegBytes(41, 39));
    const IntRect loneRect = NodeViewRect(doc, lone);
    RenderOptions options = Options();
    options.viewArea = {0, 0, loneRect.left - 2, 500};
    Render(options);
    const quint64 before = PictureDecodeCount();
    Render(options);
    EXPECT_EQ(PictureDecodeCount(), before);  // its frame is close, its picture is not touched

    options.viewArea = loneRect;
    Render(options);
    EXPECT_EQ(PictureDecodeCount(), before + 1);
    Render(options);
    EXPECT_EQ(PictureDecodeCount(), before + 1);  // the second time from the cache
}

}  // namespace
}  // namespace tessaly
