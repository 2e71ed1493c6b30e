#include "image/picture_io.h"

#include <QIODevice>
#include <QtEndian>

#include "image/image_limits.h"

namespace tessaly {

std::optional<ImageBlob> LoadImageBlob(QIODevice& file, qint64 length) {
    if (length <= 0 || length > kMaxEncodedBytes) return std::nullopt;
    // Read no more than is there: a lying length must not reserve memory.
    const qint64 available = file.isSequential() ? length : file.size() - file.pos();
    if (available < length) return std::nullopt;
    QByteArray bytes = file.read(length);
    if (bytes.size() != length) return std::nullopt;
    return ImageBlob::FromEncoded(std::move(bytes));
}

bool SaveImageBlob(QIODevice& file, const ImageBlob& picture, bool withLength) {
    const QByteArray& bytes = picture.Encoded();
    if (bytes.isEmpty() || bytes.size() > 0xFFFFFFFFLL) return false;
    if (withLength) {
        const quint32 length = qToBigEndian(static_cast<quint32>(bytes.size()));
        if (file.write(reinterpret_cast<const char*>(&length), sizeof length) != sizeof length) {
            return false;
        }
    }
    return file.write(bytes) == bytes.size();
}

qint64 EncodedSize(const ImageBlob* picture) { return picture ? picture->Encoded().size() : 0; }

QSize PixelSize(const ImageBlob* picture) { return picture ? picture->PixelSize() : QSize(0, 0); }

}  // namespace tessaly
