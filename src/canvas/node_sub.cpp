#include "canvas/node_sub.h"

#include <QPoint>
#include <algorithm>
#include <cmath>

#include "document/document.h"
#include "image/image_blob.h"
#include "image/image_files.h"
#include "image/image_limits.h"

namespace tessaly {

QImage RotatePicture(const ImageBlob& picture, double angle) {
    if (!std::isfinite(angle)) return {};
    const int pw = picture.PixelSize().width();
    const int ph = picture.PixelSize().height();
    if (pw <= 0 || ph <= 0) return {};
    QImage source = picture.Decode();
    if (source.isNull()) return {};
    source.convertTo(QImage::Format_RGB32);
    if (source.size() != QSize(pw, ph)) {
        source = source.scaled(pw, ph, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }

    // Every pixel of the source takes part: its corners are the outermost
    // pixel positions, so a quarter turn of w x h gives exactly h x w.
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    const QPoint corners[] = {{0, 0}, {pw - 1, 0}, {pw - 1, ph - 1}, {0, ph - 1}};
    for (const QPoint& p : corners) {
        const double tx = p.x() * c + p.y() * s;
        const double ty = p.y() * c - p.x() * s;
        minX = std::min(minX, tx);
        maxX = std::max(maxX, tx);
        minY = std::min(minY, ty);
        maxY = std::max(maxY, ty);
    }
    const double width = std::trunc(maxX - minX + 1.5);
    const double height = std::trunc(maxY - minY + 1.5);
    if (width > kMaxPictureSide || height > kMaxPictureSide) return {};
    const QSize size(static_cast<int>(width), static_cast<int>(height));
    if (!IsAcceptablePictureSize(size)) return {};

    QImage turned(size, QImage::Format_RGB32);
    if (turned.isNull()) return {};
    turned.fill(qRgb(255, 247, 255));
    for (int y = 0; y < size.height(); ++y) {
        const double v = y + minY;
        auto* line = reinterpret_cast<QRgb*>(turned.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const double u = x + minX;
            const int sx = static_cast<int>(u * c - v * s + 0.5);
            const int sy = static_cast<int>(u * s + v * c + 0.5);
            if (sx >= 0 && sx < pw && sy >= 0 && sy < ph) {
                line[x] = reinterpret_cast<const QRgb*>(source.constScanLine(sy))[sx];
            }
        }
    }
    return turned;
}

bool RotateNodePicture(Document& doc, int i, double angle) {
    if (!doc.HasTables() || i < 0 || i >= std::min(doc.State().nodeCount, kMaxNodes)) return false;
    NodeRecord& node = doc.Node(i);
    const ImageBlob* picture = doc.Picture(node.picture);
    if (picture == nullptr) return false;
    const QSize oldSize = picture->PixelSize();
    const QImage turned = RotatePicture(*picture, angle);
    if (turned.isNull()) return false;
    auto replacement = BitmapToPicture(turned, turned.width(), turned.height());
    if (!replacement) return false;

    const float scaleX =
        static_cast<float>(2 * node.halfWidth) / static_cast<float>(oldSize.width());
    const float scaleY =
        static_cast<float>(2 * node.halfHeight) / static_cast<float>(oldSize.height());
    node.halfWidth = static_cast<int>(static_cast<float>(turned.width() / 2) * scaleX);
    node.halfHeight = static_cast<int>(static_cast<float>(turned.height() / 2) * scaleY);
    doc.Pictures().Release(node.picture);
    node.picture = doc.Pictures().Adopt(*std::move(replacement));
    return true;
}

bool MirrorNodePicture(Document& doc, int i, MirrorAxis axis) {
    if (!doc.HasTables() || i < 0 || i >= std::min(doc.State().nodeCount, kMaxNodes)) return false;
    NodeRecord& node = doc.Node(i);
    const ImageBlob* picture = doc.Picture(node.picture);
    if (picture == nullptr) return false;
    const QSize size = picture->PixelSize();
    QImage pixels = picture->Decode();
    if (pixels.isNull() || size.isEmpty()) return false;
    if (pixels.size() != size) {
        pixels = pixels.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    const QImage mirrored =
        pixels.mirrored(axis == MirrorAxis::LeftRight, axis == MirrorAxis::TopBottom);
    if (mirrored.isNull()) return false;
    auto replacement = BitmapToPicture(mirrored, size.width(), size.height());
    if (!replacement) return false;
    doc.Pictures().Release(node.picture);
    node.picture = doc.Pictures().Adopt(*std::move(replacement));
    return true;
}

}  // namespace tessaly
