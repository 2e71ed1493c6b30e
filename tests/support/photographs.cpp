#include "support/photographs.h"

#include <QDir>

#include "support/test_images.h"

namespace tessaly::test {

const std::vector<QImage>& Photographs() {
    static const std::vector<QImage> photos = [] {
        const QDir samples(u"/usr/lib/python3/dist-packages/skimage/data"_qs);
        const QDir mate(u"/usr/share/backgrounds/mate/nature"_qs);
        QStringList paths;
        for (const char* name : {"astronaut.png", "chelsea.png", "coffee.png", "rocket.jpg",
                                 "hubble_deep_field.jpg", "retina.jpg"})
            paths << samples.filePath(QLatin1String(name));
        for (const QString& name : mate.entryList({u"*.jpg"_qs}, QDir::Files, QDir::Name))
            paths << mate.filePath(name);
        std::vector<QImage> loaded;
        for (const QString& path : paths) {
            if (QImage photo(path); !photo.isNull()) loaded.push_back(photo);
        }
        return loaded;
    }();
    return photos;
}

QByteArray CameraJpeg(const QImage& photo) {
    return JpegOf(photo.scaled(1600, 1200, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 90);
}

}  // namespace tessaly::test
