#include "canvas/section_averages.h"

#include <algorithm>
#include <cmath>

#include "image/image_blob.h"
#include "image/image_limits.h"
#include "image/pixel_sums.h"

namespace tessaly {
namespace {

// The longest section side a cell sample works with. Cells are at most a
// canvas wide; the bound only keeps absurd cell sizes from overflowing.
constexpr double kMaxSampledSectionSide = double(1 << 24);

// The sections are summed from four-byte pixels; any other format is read
// through a converted copy rather than misread.
QImage FourBytesAPixel(const QImage& image) {
    const QImage::Format format = image.format();
    if (image.isNull() || format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
        format == QImage::Format_ARGB32_Premultiplied) {
        return image;
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

// Sections are at most a fifth of the picture across.
constexpr int kMaxSectionGridSide = 5;
static_assert(kMaxSectionGridSide * kMaxSectionGridSide == kMaxSections);

// The channel sums of an s x s grid of sections of a four-byte image, each
// section `sectionWidth` x `sectionHeight` pixels, the grid's top-left at
// (x, y). Only pixels inside the image are added; `inside` counts them per
// section. Each band of sections is swept row by row across all its sections,
// so the image is read in long runs.
void SumSectionGrid(const QImage& image, std::int64_t x, std::int64_t y, std::int64_t sectionWidth,
                    std::int64_t sectionHeight, int s, ChannelSums (&sums)[kMaxSections],
                    std::int64_t (&inside)[kMaxSections]) {
    const std::int64_t width = image.isNull() ? 0 : image.width();
    const std::int64_t height = image.isNull() ? 0 : image.height();
    const uchar* bits = image.constBits();
    const qsizetype stride = image.bytesPerLine();
    for (int row = 0; row < s; ++row) {
        const std::int64_t top = y + sectionHeight * row;
        const std::int64_t insideTop = std::max<std::int64_t>(top, 0);
        const std::int64_t insideBottom = std::min(top + sectionHeight, height);
        const std::int64_t rows = std::max<std::int64_t>(insideBottom - insideTop, 0);
        int lefts[kMaxSectionGridSide];
        int widths[kMaxSectionGridSide];
        for (int column = 0; column < s; ++column) {
            const std::int64_t left = x + sectionWidth * column;
            const std::int64_t insideLeft = std::max<std::int64_t>(left, 0);
            const std::int64_t insideRight = std::min(left + sectionWidth, width);
            const bool any = insideRight > insideLeft;
            lefts[column] = any ? int(insideLeft) : 0;
            widths[column] = any ? int(insideRight - insideLeft) : 0;
        }
        SumPixelRuns(bits, stride, insideTop, insideBottom, s, lefts, widths, &sums[row * s]);
        for (int column = 0; column < s; ++column) {
            inside[row * s + column] = widths[column] * rows;
        }
    }
}

// A channel sum over `pixels` pixels as a byte, truncated; 0 for no pixels.
std::uint8_t AverageByte(std::int64_t sum, std::int64_t pixels) {
    if (pixels <= 0) return 0;
    const float average = static_cast<float>(sum) / static_cast<float>(pixels);
    return static_cast<std::uint8_t>(std::clamp(average, 0.0f, 255.0f));
}

void StoreAverages(const ChannelSums& sums, std::int64_t pixels, int k, SectionValues& red,
                   SectionValues& green, SectionValues& blue) {
    red[k] = AverageByte(sums.red, pixels);
    green[k] = AverageByte(sums.green, pixels);
    blue[k] = AverageByte(sums.blue, pixels);
}

// A section's extent along one side of a reduced raster, in its pixels:
// the pixels at either end may be covered only in part.
struct SectionSpan {
    SectionSpan() = default;
    SectionSpan(double start, double stop, int rasterSide)
        : from(start),
          to(stop),
          first(std::clamp(int(start), 0, rasterSide)),
          end(std::clamp(int(std::ceil(stop)), first, rasterSide)) {}

    double Length() const { return to - from; }
    // How much of pixel `i` the span covers, 0..1.
    double Covered(int i) const { return std::min(to, i + 1.0) - std::max(from, double(i)); }

    double from = 0;
    double to = 0;
    int first = 0;  // the raster pixels it touches: first .. end - 1
    int end = 0;
};

std::uint8_t TruncatedByte(double average) {
    return static_cast<std::uint8_t>(std::clamp(average, 0.0, 255.0));
}

// trunc(cellSide / s), 0 for sizes below one pixel (and for NaN).
std::int64_t SampledSectionSide(double cellSide, int s) {
    const double side = cellSide / s;
    if (!(side >= 1.0)) return 0;
    return static_cast<std::int64_t>(std::min(side, kMaxSampledSectionSide));
}

}  // namespace

int SectionGridSide(int sectionCount) {
    const int count = std::clamp(sectionCount, 1, kMaxSections);
    int side = 1;
    while ((side + 1) * (side + 1) <= count)
        ++side;
    return side;
}

QImage RasterisePicture(const ImageBlob& picture, QSize atLeast) {
    const QSize size = picture.PixelSize();
    if (!IsAcceptablePictureSize(size)) return {};
    const bool full = atLeast.isEmpty();
    QImage image = picture.DecodeReduced(full ? size : atLeast);
    if (image.isNull()) return {};
    // Premultiplied colour is exactly the colour drawn over black, so reading
    // the colour bytes and ignoring alpha gives the composite onto a zeroed
    // buffer; the alpha stays for callers that draw the image elsewhere.
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    if (full && image.size() != size) {
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (image.isNull() || image.format() != QImage::Format_ARGB32_Premultiplied) return {};
    return image;
}

bool ComputeSectionAverages(const ImageBlob& picture, int sectionCount, SectionValues& red,
                            SectionValues& green, SectionValues& blue) {
    return ComputeSectionAverages(RasterisePicture(picture), sectionCount, red, green, blue);
}

bool ComputeSectionAverages(const QImage& image, int sectionCount, SectionValues& red,
                            SectionValues& green, SectionValues& blue) {
    if (image.isNull()) return false;
    std::fill(std::begin(red), std::end(red), std::uint8_t{0});
    std::fill(std::begin(green), std::end(green), std::uint8_t{0});
    std::fill(std::begin(blue), std::end(blue), std::uint8_t{0});

    const int s = SectionGridSide(sectionCount);
    const int sectionWidth = image.width() / s;
    const int sectionHeight = image.height() / s;
    const std::int64_t pixels = std::int64_t(sectionWidth) * sectionHeight;
    if (pixels == 0) return true;
    ChannelSums sums[kMaxSections];
    std::int64_t inside[kMaxSections];
    SumSectionGrid(FourBytesAPixel(image), 0, 0, sectionWidth, sectionHeight, s, sums, inside);
    for (int k = 0; k < s * s; ++k)
        StoreAverages(sums[k], pixels, k, red, green, blue);
    return true;
}

bool ComputeSectionAverages(const QImage& rasterised, QSize pictureSize, int sectionCount,
                            SectionValues& red, SectionValues& green, SectionValues& blue) {
    if (rasterised.size() == pictureSize)
        return ComputeSectionAverages(rasterised, sectionCount, red, green, blue);
    if (rasterised.isNull() || pictureSize.isEmpty()) return false;
    std::fill(std::begin(red), std::end(red), std::uint8_t{0});
    std::fill(std::begin(green), std::end(green), std::uint8_t{0});
    std::fill(std::begin(blue), std::end(blue), std::uint8_t{0});

    const int s = SectionGridSide(sectionCount);
    const int sectionWidth = pictureSize.width() / s;
    const int sectionHeight = pictureSize.height() / s;
    if (sectionWidth == 0 || sectionHeight == 0) return true;
    const QImage image = FourBytesAPixel(rasterised);
    const double toRasterX = double(image.width()) / pictureSize.width();
    const double toRasterY = double(image.height()) / pictureSize.height();
    SectionSpan columns[kMaxSectionGridSide];
    for (int column = 0; column < s; ++column) {
        columns[column] = SectionSpan(column * sectionWidth * toRasterX,
                                      (column + 1) * sectionWidth * toRasterX, image.width());
    }
    for (int row = 0; row < s; ++row) {
        const SectionSpan rows(row * sectionHeight * toRasterY,
                               (row + 1) * sectionHeight * toRasterY, image.height());
        double sums[kMaxSectionGridSide][3] = {};
        for (int y = rows.first; y < rows.end; ++y) {
            const double rowWeight = rows.Covered(y);
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int column = 0; column < s; ++column) {
                const SectionSpan& span = columns[column];
                double r = 0, g = 0, b = 0;
                for (int x = span.first; x < span.end; ++x) {
                    const double weight = span.Covered(x);
                    r += weight * qRed(line[x]);
                    g += weight * qGreen(line[x]);
                    b += weight * qBlue(line[x]);
                }
                sums[column][0] += rowWeight * r;
                sums[column][1] += rowWeight * g;
                sums[column][2] += rowWeight * b;
            }
        }
        for (int column = 0; column < s; ++column) {
            const double area = rows.Length() * columns[column].Length();
            const int k = row * s + column;
            red[k] = TruncatedByte(sums[column][0] / area);
            green[k] = TruncatedByte(sums[column][1] / area);
            blue[k] = TruncatedByte(sums[column][2] / area);
        }
    }
    return true;
}

void SampleBackgroundCell(const QImage& surface, int sectionCount, int x, int y, double cellWidth,
                          double cellHeight, SectionValues& red, SectionValues& green,
                          SectionValues& blue) {
    std::fill(std::begin(red), std::end(red), std::uint8_t{0});
    std::fill(std::begin(green), std::end(green), std::uint8_t{0});
    std::fill(std::begin(blue), std::end(blue), std::uint8_t{0});

    const int s = SectionGridSide(sectionCount);
    const std::int64_t sectionWidth = SampledSectionSide(cellWidth, s);
    const std::int64_t sectionHeight = SampledSectionSide(cellHeight, s);
    const std::int64_t pixels = sectionWidth * sectionHeight;
    if (pixels == 0) return;

    ChannelSums sums[kMaxSections];
    std::int64_t inside[kMaxSections];
    SumSectionGrid(FourBytesAPixel(surface), x, y, sectionWidth, sectionHeight, s, sums, inside);
    for (int k = 0; k < s * s; ++k) {
        // Whatever lies off the surface reads as white.
        const std::int64_t outsideWhite = (pixels - inside[k]) * 255;
        sums[k].red += outsideWhite;
        sums[k].green += outsideWhite;
        sums[k].blue += outsideWhite;
        StoreAverages(sums[k], pixels, k, red, green, blue);
    }
}

}  // namespace tessaly
