#pragma once

// Tiles cut from the photographs python3-skimage ships, as
// tests/cli/photo_tiles.py cuts them, or from a drawn gradient when they are
// missing.

#include <QImage>
#include <QString>
#include <algorithm>
#include <random>
#include <vector>

#include "document/document.h"
#include "image/image_blob.h"
#include "image/image_files.h"

namespace tessaly::bench {

inline constexpr int kTileSide = 64;
inline const char kPhotos[] = "/usr/lib/python3/dist-packages/skimage/data/";

inline std::vector<QImage> Photographs() {
    std::vector<QImage> photos;
    for (const char* name : {"astronaut.png", "chelsea.png", "coffee.png", "rocket.jpg",
                             "hubble_deep_field.jpg", "retina.jpg"}) {
        QImage photo(QString::fromLatin1(kPhotos) + QLatin1String(name));
        if (!photo.isNull()) photos.push_back(photo.convertToFormat(QImage::Format_RGB32));
    }
    if (photos.empty()) {
        QImage drawn(512, 512, QImage::Format_RGB32);
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 512; ++x)
                drawn.setPixel(x, y, qRgb(x / 2, y / 2, (x ^ y) / 2));
        photos.push_back(drawn);
    }
    return photos;
}

// Tile n: a square crop of a photograph at its own place and size (64 to 192
// pixels a side), scaled to 64 x 64.
inline QImage Tile(const std::vector<QImage>& photos, int n, std::mt19937& random) {
    const QImage& photo = photos[static_cast<std::size_t>(n) % photos.size()];
    const int most = std::min({192, photo.width(), photo.height()});
    const int side = kTileSide + static_cast<int>(random() % unsigned(most - kTileSide + 1));
    const int x = static_cast<int>(random() % unsigned(photo.width() - side + 1));
    const int y = static_cast<int>(random() % unsigned(photo.height() - side + 1));
    return photo.copy(x, y, side, side)
        .scaled(kTileSide, kTileSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

inline PictureRef AdoptJpeg(Document& doc, const QImage& image, int quality) {
    auto blob = ImageBlob::FromEncoded(EncodeJpeg(image, quality));
    return blob ? doc.Pictures().Adopt(*std::move(blob)) : PictureRef{};
}

}  // namespace tessaly::bench
