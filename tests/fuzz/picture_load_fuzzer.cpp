// Feeds arbitrary bytes to the picture loading functions, in every way a
// picture reaches the program: as an image file the user adds (kept when it
// is a JPEG, else decoded and re-encoded), as a stream inside a document
// (read through a device with its stored length) and as a picture drawn at
// full and at reduced size. Qt picks the codec from the content, so one
// target covers JPEG, PNG, BMP, GIF, TIFF and whatever else Qt reads.
// Besides the sanitizers, it checks what the loaders promise:
//  - every picture has a size within the program's limits;
//  - decoding gives that size, or nothing, a band of rows too;
//  - a stored length longer than what is there gives no picture, and the
//    exact length gives the same answer as the bytes themselves;
//  - an image file becomes a JPEG picture of the size it reports.
// Pictures of up to 100 megapixels are accepted by design, and decoding one
// takes seconds under the sanitizers; an input whose header declares more
// than a megapixel within the limits is passed over, so runs stay fast. One
// that declares more than the limits is checked: it must be refused before
// anything is decoded.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "image/decode_cache.h"
#include "image/image_blob.h"
#include "image/image_files.h"
#include "image/image_limits.h"
#include "image/jpeg_decoder.h"
#include "image/jpeg_structure.h"
#include "image/picture_io.h"

using namespace tessaly;

namespace {

// Smaller than any seed picture, so that the reduced decode really reduces.
constexpr QSize kThumbnail(3, 3);
constexpr qint64 kMostPixelsDecoded = 1 << 20;

qint64 Pixels(QSize size) { return size.isValid() ? qint64(size.width()) * size.height() : 0; }

// The larger of the sizes the JPEG markers and Qt's reader declare.
QSize DeclaredSize(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QSize header = HeaderSize(reader);
    const QSize jpeg = LooksLikeJpeg(bytes) ? ReadJpegStructure(bytes).size : QSize();
    return Pixels(jpeg) > Pixels(header) ? jpeg : header;
}

void CheckDecoded(const QImage& image, QSize expected, const char* what) {
    if (!image.isNull() && image.size() != expected) {
        fuzz::FuzzFailure(what, QStringLiteral("%1x%2 for %3x%4")
                                    .arg(image.width()).arg(image.height())
                                    .arg(expected.width()).arg(expected.height()));
    }
}

void CheckStream(const QByteArray& bytes) {
    const auto picture = ImageBlob::FromEncoded(bytes);
    if (picture) {
        const QSize size = picture->PixelSize();
        if (!IsAcceptablePictureSize(size)) fuzz::FuzzFailure("a picture beyond the size limits");
        CheckDecoded(picture->Decode(), size, "a full decode gave another size");
        const QImage reduced = picture->DecodeForSize(kThumbnail);
        // Halved from the full size, but never below the size asked for.
        const QSize least = size.boundedTo(kThumbnail);
        if (!reduced.isNull() && (reduced.width() > size.width() || reduced.height() > size.height() ||
                                  reduced.width() < least.width() || reduced.height() < least.height())) {
            fuzz::FuzzFailure("a reduced decode gave a size out of range");
        }
        // A band of rows from the middle, as the background under a node is read.
        if (picture->IsJpeg()) {
            const int third = size.height() / 3;
            CheckDecoded(DecodeJpegRows(bytes, third, third + std::max(third, 1)).image, size,
                         "a band decode gave another size");
        }
    }

    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    if (LoadImageBlob(device, bytes.size() + 1)) fuzz::FuzzFailure("a length past the end gave a picture");
    device.seek(0);
    if (LoadImageBlob(device, bytes.size()).has_value() != picture.has_value()) {
        fuzz::FuzzFailure("reading through a device and from the bytes disagree");
    }
}

// Returns whether the file was kept as the JPEG it is.
bool CheckFile(const QString& path, const QString& type, const QByteArray& bytes) {
    const LoadedPicture loaded = LoadImageFile(path, type);
    if (loaded.fileSize != bytes.size()) fuzz::FuzzFailure("the file size is reported wrong");
    if (!loaded.picture) {
        if (loaded.size != QSize(0, 0)) fuzz::FuzzFailure("a size without a picture");
        return false;
    }
    if (!loaded.picture->IsJpeg()) fuzz::FuzzFailure("an image file did not become a JPEG picture");
    if (loaded.size != loaded.picture->PixelSize() || !IsAcceptablePictureSize(loaded.size)) {
        fuzz::FuzzFailure("an image file's picture has a wrong size");
    }
    return loaded.picture->Encoded() == bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::InitializeFuzzEnvironment(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QSize declared = DeclaredSize(bytes);
    if (Pixels(declared) > kMostPixelsDecoded && IsAcceptablePictureSize(declared)) return 0;
    CheckStream(bytes);
    const QString path = fuzz::WriteFuzzFile(QStringLiteral("picture"), bytes);
    // A JPEG kept as it is has not been decoded yet: named as another type,
    // it goes through the decoder and the re-encoding as well.
    if (CheckFile(path, QStringLiteral("jpeg"), bytes)) CheckFile(path, QStringLiteral("png"), bytes);
    // Nothing of this run outlives it.
    DecodeCache::Instance().Clear();
    return 0;
}
