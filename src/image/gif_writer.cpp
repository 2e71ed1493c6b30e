#include "image/gif_writer.h"

#include <gif_lib.h>

#include <QIODevice>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "image/band_writers.h"

namespace tessaly {
namespace {

int WriteToDevice(GifFileType* gif, const GifByteType* data, int length) {
    auto* device = static_cast<QIODevice*>(gif->UserData);
    return static_cast<int>(device->write(reinterpret_cast<const char*>(data), length));
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

struct ColorMapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

}  // namespace

bool WriteGif(const QImage& image, QIODevice& device) {
    if (image.isNull()) return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const int width = rgb.width();
    const int height = rgb.height();
    const std::size_t pixels = static_cast<std::size_t>(width) * height;

    std::vector<GifByteType> red(pixels), green(pixels), blue(pixels), indices(pixels);
    for (int y = 0; y < height; ++y) {
        const uchar* line = rgb.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * width + x;
            red[at] = line[3 * x];
            green[at] = line[3 * x + 1];
            blue[at] = line[3 * x + 2];
        }
    }

    std::unique_ptr<ColorMapObject, ColorMapDeleter> colorMap(GifMakeMapObject(256, nullptr));
    if (!colorMap) return false;
    int colorCount = 256;
    if (GifQuantizeBuffer(width, height, &colorCount, red.data(), green.data(), blue.data(),
                          indices.data(), colorMap->Colors) == GIF_ERROR) {
        return false;
    }

    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(EGifOpen(&device, WriteToDevice, &error));
    if (!gif) return false;
    if (EGifPutScreenDesc(gif.get(), width, height, 8, 0, colorMap.get()) == GIF_ERROR ||
        EGifPutImageDesc(gif.get(), 0, 0, width, height, false, nullptr) == GIF_ERROR) {
        return false;
    }
    for (int y = 0; y < height; ++y) {
        if (EGifPutLine(gif.get(), indices.data() + static_cast<std::size_t>(y) * width, width) ==
            GIF_ERROR) {
            return false;
        }
    }
    GifFileType* raw = gif.release();
    return EGifCloseFile(raw, &error) == GIF_OK;
}

WriteResult WriteGifBands(QIODevice& device, BandSource& bands) {
    QImage whole(bands.Size(), QImage::Format_RGB32);
    if (whole.isNull()) return bands.Ending(false, true);
    const auto gather = [&whole](const QImage& band, int top) {
        const auto rowBytes = static_cast<std::size_t>(4 * whole.width());
        for (int y = 0; y < band.height(); ++y)
            std::memcpy(whole.scanLine(top + y), band.constScanLine(y), rowBytes);
        return true;
    };
    if (!bands.ForEach(gather)) return bands.Ending(false);
    try {
        return bands.Ending(WriteGif(whole, device));
    } catch (const std::bad_alloc&) {
        return bands.Ending(false, true);
    }
}

}  // namespace tessaly
