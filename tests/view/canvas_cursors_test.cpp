#include "view/canvas_cursors.h"

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QtTest>
#include <vector>

using namespace tessaly;

Q_DECLARE_METATYPE(tessaly::CanvasCursor)

namespace {

const std::vector<CanvasCursor> kDrawnRoles = {CanvasCursor::Move, CanvasCursor::Blocked,
                                               CanvasCursor::ZoomIn, CanvasCursor::ZoomOut,
                                               CanvasCursor::Dial};

QImage PictureOf(CanvasCursor role) {
    return CursorFor(role).pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
}

bool IsOpaque(QRgb pixel) {
    return qAlpha(pixel) >= 128;
}
bool IsLight(QRgb pixel) {
    return IsOpaque(pixel) && qGray(pixel) >= 200;
}
bool IsInk(QRgb pixel) {
    return IsOpaque(pixel) && qGray(pixel) < 128;
}

// The smallest rectangle holding every opaque pixel.
QRect OpaqueBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (IsOpaque(image.pixel(x, y))) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

}  // namespace

class CanvasCursorsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void platformRolesUseTheirQtShapes_data();
    void platformRolesUseTheirQtShapes();
    void drawnCursorsAreVisiblePictures_data();
    void drawnCursorsAreVisiblePictures();
    void handsClickWithTheFingertip_data();
    void handsClickWithTheFingertip();
    void symbolsClickInTheirMiddle_data();
    void symbolsClickInTheirMiddle();
    void drawnCursorsAllLookDifferent();
    void cursorsAreMadeOnceAndKept();
};

// Handles show the sizing shape of their direction.
void CanvasCursorsTest::platformRolesUseTheirQtShapes_data() {
    QTest::addColumn<CanvasCursor>("role");
    QTest::addColumn<Qt::CursorShape>("shape");
    QTest::newRow("top-left") << HandleCursor(Handle::TopLeft) << Qt::SizeFDiagCursor;
    QTest::newRow("top-right") << HandleCursor(Handle::TopRight) << Qt::SizeBDiagCursor;
    QTest::newRow("bottom-right") << HandleCursor(Handle::BottomRight) << Qt::SizeFDiagCursor;
    QTest::newRow("bottom-left") << HandleCursor(Handle::BottomLeft) << Qt::SizeBDiagCursor;
    QTest::newRow("top") << HandleCursor(Handle::Top) << Qt::SizeVerCursor;
    QTest::newRow("right") << HandleCursor(Handle::Right) << Qt::SizeHorCursor;
    QTest::newRow("bottom") << HandleCursor(Handle::Bottom) << Qt::SizeVerCursor;
    QTest::newRow("left") << HandleCursor(Handle::Left) << Qt::SizeHorCursor;
    QTest::newRow("arrow") << CanvasCursor::Arrow << Qt::ArrowCursor;
    QTest::newRow("hand") << CanvasCursor::Hand << Qt::PointingHandCursor;
    QTest::newRow("split left-right") << CanvasCursor::SplitLeftRight << Qt::SplitHCursor;
    QTest::newRow("split up-down") << CanvasCursor::SplitUpDown << Qt::SplitVCursor;
    QTest::newRow("unknown role") << static_cast<CanvasCursor>(99) << Qt::ArrowCursor;
}

void CanvasCursorsTest::platformRolesUseTheirQtShapes() {
    QFETCH(CanvasCursor, role);
    QFETCH(Qt::CursorShape, shape);
    QCOMPARE(CursorFor(role).shape(), shape);
}

void CanvasCursorsTest::drawnCursorsAreVisiblePictures_data() {
    QTest::addColumn<CanvasCursor>("role");
    for (CanvasCursor role : kDrawnRoles)
        QTest::addRow("role %d", static_cast<int>(role)) << role;
}

void CanvasCursorsTest::drawnCursorsAreVisiblePictures() {
    QFETCH(CanvasCursor, role);
    const QCursor& cursor = CursorFor(role);
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    QCOMPARE(cursor.pixmap().size(), QSize(32, 32));
    QVERIFY(QRect(0, 0, 32, 32).contains(cursor.hotSpot()));

    const QImage image = PictureOf(role);
    int opaque = 0;
    int clear = 0;
    int light = 0;
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 0) ++clear;
            if (!IsOpaque(pixel)) continue;
            ++opaque;
            if (IsLight(pixel)) ++light;
            if (qGray(pixel) < 160) ++coloured;
        }
    }
    // A cursor is a shape on a clear ground, not a filled square nor nothing.
    QVERIFY2(opaque >= 40, qPrintable(QString::number(opaque)));
    QVERIFY2(clear >= 200, qPrintable(QString::number(clear)));
    // Dark or coloured strokes with a light rim keep it visible on any background.
    QVERIFY2(light >= 20, qPrintable(QString::number(light)));
    QVERIFY2(coloured >= 20, qPrintable(QString::number(coloured)));
}

void CanvasCursorsTest::handsClickWithTheFingertip_data() {
    QTest::addColumn<CanvasCursor>("role");
    QTest::newRow("zoom in") << CanvasCursor::ZoomIn;
    QTest::newRow("zoom out") << CanvasCursor::ZoomOut;
}

void CanvasCursorsTest::handsClickWithTheFingertip() {
    QFETCH(CanvasCursor, role);
    const QPoint hotSpot = CursorFor(role).hotSpot();
    const QImage image = PictureOf(role);

    // The tip of the raised finger is at the very top of the picture...
    QVERIFY2(hotSpot.y() <= 4, qPrintable(QString::number(hotSpot.y())));
    // ...and the hot spot is on its outline, not in the air beside it.
    bool onTheFinger = false;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint near = hotSpot + QPoint(dx, dy);
            if (image.rect().contains(near) && IsInk(image.pixel(near))) onTheFinger = true;
        }
    }
    QVERIFY(onTheFinger);
    // Below the tip runs the finger: light inside, outlined close on both sides.
    for (int y = hotSpot.y() + 4; y <= hotSpot.y() + 10; ++y) {
        QVERIFY2(IsLight(image.pixel(hotSpot.x(), y)), qPrintable(QString::number(y)));
        bool left = false;
        bool right = false;
        for (int d = 1; d <= 4; ++d) {
            left = left || IsInk(image.pixel(hotSpot.x() - d, y));
            right = right || IsInk(image.pixel(hotSpot.x() + d, y));
        }
        QVERIFY2(left && right, qPrintable(QString::number(y)));
    }
}

void CanvasCursorsTest::symbolsClickInTheirMiddle_data() {
    QTest::addColumn<CanvasCursor>("role");
    QTest::newRow("move") << CanvasCursor::Move;
    QTest::newRow("blocked") << CanvasCursor::Blocked;
    QTest::newRow("dial") << CanvasCursor::Dial;
}

void CanvasCursorsTest::symbolsClickInTheirMiddle() {
    QFETCH(CanvasCursor, role);
    const QPoint hotSpot = CursorFor(role).hotSpot();
    const QRectF drawn = QRectF(OpaqueBounds(PictureOf(role)));
    QVERIFY(!drawn.isEmpty());
    // Pixel centres: the hot spot pixel and the middle of what is drawn.
    const QPointF offset = QPointF(hotSpot) + QPointF(0.5, 0.5) - drawn.center();
    QVERIFY2(qAbs(offset.x()) <= 1.5 && qAbs(offset.y()) <= 1.5,
             qPrintable(QStringLiteral("hot spot %1,%2 is off by %3,%4")
                            .arg(hotSpot.x())
                            .arg(hotSpot.y())
                            .arg(offset.x())
                            .arg(offset.y())));
}

void CanvasCursorsTest::drawnCursorsAllLookDifferent() {
    for (size_t i = 0; i < kDrawnRoles.size(); ++i) {
        for (size_t j = i + 1; j < kDrawnRoles.size(); ++j) {
            QVERIFY2(PictureOf(kDrawnRoles[i]) != PictureOf(kDrawnRoles[j]),
                     qPrintable(QStringLiteral("roles %1 and %2 share a picture")
                                    .arg(static_cast<int>(kDrawnRoles[i]))
                                    .arg(static_cast<int>(kDrawnRoles[j]))));
        }
    }
}

void CanvasCursorsTest::cursorsAreMadeOnceAndKept() {
    for (int i = 0; i <= static_cast<int>(CanvasCursor::SizeNwSe); ++i) {
        const auto role = static_cast<CanvasCursor>(i);
        const QCursor& first = CursorFor(role);
        const QCursor& second = CursorFor(role);
        QCOMPARE(&first, &second);
        QCOMPARE(first.pixmap().cacheKey(), second.pixmap().cacheKey());
    }
}

QTEST_MAIN(CanvasCursorsTest)
#include "canvas_cursors_test.moc"
