#include "support/test_images.h"

#include <gif_lib.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>
#include <array>

namespace tessaly::test {
namespace {

QByteArray Encode(const QImage& image, const char* format, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0) writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

quint32 Crc32(const QByteArray& data) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (char byte : data) c = table[(c ^ static_cast<quint8>(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

QByteArray Chunk(const char* type, const QByteArray& payload) {
    QByteArray out;
    quint32 length = qToBigEndian(static_cast<quint32>(payload.size()));
    out.append(reinterpret_cast<const char*>(&length), 4);
    const QByteArray body = QByteArray(type) + payload;
    out.append(body);
    const quint32 crc = qToBigEndian(Crc32(body));
    out.append(reinterpret_cast<const char*>(&crc), 4);
    return out;
}

int WriteToBuffer(GifFileType* gif, const GifByteType* data, int length) {
    auto* bytes = static_cast<QByteArray*>(gif->UserData);
    bytes->append(reinterpret_cast<const char*>(data), length);
    return length;
}

}  // namespace

QImage Filled(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage Gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(x * 255 / std::max(1, width - 1),
                                      y * 255 / std::max(1, height - 1), (x + y) % 256));
        }
    }
    return image;
}

QByteArray JpegBytes(int width, int height, int quality) {
    return Encode(Gradient(width, height), "jpeg", quality);
}

QByteArray JpegOf(const QImage& image, int quality) { return Encode(image, "jpeg", quality); }

QByteArray PngBytes(const QImage& image) { return Encode(image, "png", -1); }

QByteArray BmpBytes(const QImage& image) { return Encode(image, "bmp", -1); }

QByteArray TransparentRedPng(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(qRgba(255, 0, 0, 0));
    for (int y = height / 4; y < height * 3 / 4; ++y) {
        for (int x = width / 4; x < width * 3 / 4; ++x) image.setPixel(x, y, qRgba(0, 0, 255, 255));
    }
    return PngBytes(image);
}

QByteArray TwoFrameGif(int width, int height, QColor first, QColor second) {
    QByteArray bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, WriteToBuffer, &error);
    GifColorType colors[2] = {
        {static_cast<GifByteType>(first.red()), static_cast<GifByteType>(first.green()),
         static_cast<GifByteType>(first.blue())},
        {static_cast<GifByteType>(second.red()), static_cast<GifByteType>(second.green()),
         static_cast<GifByteType>(second.blue())}};
    ColorMapObject* map = GifMakeMapObject(2, colors);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, width, height, 1, 0, map);
    std::vector<GifPixelType> line(static_cast<std::size_t>(width));
    for (GifPixelType index : {GifPixelType(0), GifPixelType(1)}) {
        // A graphic control block with a delay makes it a real animation.
        const GifByteType control[4] = {0x04, 10, 0, 0};
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
        EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr);
        std::fill(line.begin(), line.end(), index);
        for (int y = 0; y < height; ++y) EGifPutLine(gif, line.data(), width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return bytes;
}

QByteArray PngDeclaringSize(quint32 width, quint32 height) {
    QByteArray header;
    const quint32 w = qToBigEndian(width);
    const quint32 h = qToBigEndian(height);
    header.append(reinterpret_cast<const char*>(&w), 4);
    header.append(reinterpret_cast<const char*>(&h), 4);
    header.append(char(8));  // bit depth
    header.append(char(2));  // colour type: RGB
    header.append(3, char(0));
    // A valid zlib stream of a few zero bytes: far too little for the size.
    const QByteArray idat = QByteArray::fromHex("789c636000000001000100");
    return QByteArray::fromHex("89504e470d0a1a0a") + Chunk("IHDR", header) +
           Chunk("IDAT", idat) + Chunk("IEND", {});
}

QString WriteFile(const QString& dir, const QString& name, const QByteArray& bytes) {
    const QString path = QDir(dir).filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace tessaly::test
