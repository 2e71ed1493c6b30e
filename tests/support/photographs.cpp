#include "support/photographs.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>

namespace tessaly::test {

namespace {

std::vector<QImage> LoadPhotographs() {
    QStringList paths;
    const QDir samples(u"/usr/lib/python3/dist-packages/skimage/data"_qs);
    for (const char* name : {"astronaut.png", "chelsea.png", "coffee.png", "rocket.jpg",
                             "hubble_deep_field.jpg", "retina.jpg"}) {
        paths << samples.filePath(QLatin1String(name));
    }
    const QDir mate(u"/usr/share/backgrounds/mate/nature"_qs);
    for (const QString& name : mate.entryList({u"*.jpg"_qs}, QDir::Files, QDir::Name))
        paths << mate.filePath(name);
    std::vector<QImage> photos;
    for (const QString& path : paths) {
        QImage photo(path);
        if (!photo.isNull()) photos.push_back(photo.convertToFormat(QImage::Format_RGB32));
    }
    return photos;
}

}  // namespace

const std::vector<QImage>& Photographs() {
    static const std::vector<QImage> photos = LoadPhotographs();
    return photos;
}

QByteArray CameraJpeg(const QImage& photo) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.write(photo.scaled(1600, 1200, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return bytes;
}

}  // namespace tessaly::test
