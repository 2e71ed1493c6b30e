// Writes the sample tile images offered beside the editor: 60 small JPEGs,
// colourful and varied (gradients, discs, rings, stripes, checks, splits),
// the same bytes on every run.
//
//   tessaly-make-samples <folder>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QTextStream>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kCount = 60;
constexpr int kWidth = 80;
constexpr int kHeight = 60;

// Fixed integer arithmetic for every choice, so the pictures never depend on
// a library's random numbers.
struct Lcg {
    quint32 state;
    int Next(int bound) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) % static_cast<quint32>(bound));
    }
};

QColor Hue(int degrees, int saturation, int value) {
    return QColor::fromHsv(((degrees % 360) + 360) % 360, saturation, value);
}

QRgb Mix(QColor a, QColor b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    const auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return qRgb(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()));
}

QImage MakeTile(int index) {
    Lcg random{static_cast<quint32>(index) * 2654435761u + 7u};
    // Hues spread around the circle by the golden angle.
    const int hue = (index * 137) % 360;
    const QColor first = Hue(hue, 150 + random.Next(106), 120 + random.Next(136));
    const QColor second =
        Hue(hue + 40 + random.Next(140), 120 + random.Next(136), 60 + random.Next(196));
    const double angle = random.Next(360) * M_PI / 180.0;
    const double cx = 20 + random.Next(kWidth - 40);
    const double cy = 15 + random.Next(kHeight - 30);
    const double radius = 12 + random.Next(18);
    const int period = 6 + random.Next(12);

    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            const double along =
                ((x - kWidth / 2.0) * std::cos(angle) + (y - kHeight / 2.0) * std::sin(angle)) /
                    kWidth +
                0.5;
            const double distance = std::hypot(x - cx, y - cy);
            QRgb pixel = 0;
            switch (index % 6) {
                case 0:  // linear gradient
                    pixel = Mix(first, second, along);
                    break;
                case 1:  // radial gradient
                    pixel = Mix(second, first, distance / (radius * 2));
                    break;
                case 2:  // a disc on a gradient
                    pixel = distance < radius ? Mix(second, second.darker(160), distance / radius)
                                              : Mix(first, first.lighter(140), along);
                    break;
                case 3: {  // stripes across the gradient
                    const int stripe = static_cast<int>(along * kWidth) / period;
                    pixel = Mix(stripe % 2 ? first : second, first.darker(150), along * 0.5);
                    break;
                }
                case 4: {  // checks
                    const bool dark = ((x / period) + (y / period)) % 2 != 0;
                    pixel = Mix(dark ? first : second, QColor(Qt::white), y / (kHeight * 3.0));
                    break;
                }
                default:  // rings
                    pixel = (static_cast<int>(distance) / (period / 2 + 2)) % 2
                                ? Mix(first, second, distance / kWidth)
                                : Mix(second, first.darker(130), distance / kWidth);
                    break;
            }
            line[x] = pixel;
        }
    }
    return image;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fputs("usage: tessaly-make-samples <folder>\n", stderr);
        return 2;
    }
    const QDir folder(args.at(1));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "tessaly-make-samples: cannot create %s\n", qPrintable(args.at(1)));
        return 1;
    }
    for (int i = 0; i < kCount; ++i) {
        const QString path =
            folder.filePath(QStringLiteral("sample%1.jpg").arg(i + 1, 2, 10, QLatin1Char('0')));
        QImageWriter writer(path, "jpeg");
        writer.setQuality(90);
        if (!writer.write(MakeTile(i))) {
            std::fprintf(stderr, "tessaly-make-samples: %s: %s\n", qPrintable(path),
                         qPrintable(writer.errorString()));
            return 1;
        }
    }
    return 0;
}
