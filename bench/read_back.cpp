// tessaly-readback FILE: reads a PNG file with libpng, a TIFF file with
// libtiff or a 24-bit BMP file by its header, every row, and prints its size
// and a checksum of its pixels, so a benchmark can show that other programs
// read a written poster whole (the sums of the same picture agree). Any
// other file is read with Qt. Exits non-zero when the file does not
// read to its end.

#include <png.h>
#include <tiffio.h>

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int Report(unsigned long width, unsigned long height, unsigned long long sum) {
    std::printf("%lu x %lu, sum %llu\n", width, height, sum);
    return 0;
}

int ReadPng(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return 1;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> row;
    unsigned long long sum = 0;
    if (setjmp(png_jmpbuf(png))) {
        std::printf("libpng: damaged\n");
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(file);
        return 1;
    }
    png_init_io(png, file);
    png_set_user_limits(png, 0x7fffffff, 0x7fffffff);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    row.resize(png_get_rowbytes(png, info));
    for (png_uint_32 y = 0; y < height; ++y) {
        png_read_row(png, row.data(), nullptr);
        for (const png_byte b : row) sum += b;
    }
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return Report(width, height, sum);
}

int ReadTiff(const char* path) {
    TIFF* tiff = TIFFOpen(path, "r");
    if (tiff == nullptr) return 1;
    std::uint32_t width = 0, height = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    std::vector<unsigned char> line(static_cast<std::size_t>(TIFFScanlineSize64(tiff)));
    unsigned long long sum = 0;
    for (std::uint32_t y = 0; y < height; ++y) {
        if (TIFFReadScanline(tiff, line.data(), y, 0) < 0) {
            std::printf("libtiff: row %u unreadable\n", y);
            TIFFClose(tiff);
            return 1;
        }
        for (const unsigned char b : line) sum += b;
    }
    TIFFClose(tiff);
    return Report(width, height, sum);
}

// A BMP file of 24 bits, uncompressed: its header read and every row summed.
int ReadBmp(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return 1;
    unsigned char header[54];
    if (std::fread(header, 1, sizeof header, file) != sizeof header) return 1;
    const auto le32 = [&](int at) {
        return std::uint32_t(header[at]) | std::uint32_t(header[at + 1]) << 8 |
               std::uint32_t(header[at + 2]) << 16 | std::uint32_t(header[at + 3]) << 24;
    };
    const std::uint32_t offset = le32(10), width = le32(18), height = le32(22);
    const unsigned bits = header[28] | header[29] << 8;
    if (header[0] != 'B' || header[1] != 'M' || bits != 24 || le32(30) != 0) {
        std::printf("not a 24-bit uncompressed BMP\n");
        return 1;
    }
    std::vector<unsigned char> row((width * 3 + 3) / 4 * 4);
    std::fseek(file, offset, SEEK_SET);
    unsigned long long sum = 0;
    for (std::uint32_t y = 0; y < height; ++y) {
        if (std::fread(row.data(), 1, row.size(), file) != row.size()) {
            std::printf("row %u missing\n", y);
            std::fclose(file);
            return 1;
        }
        for (std::uint32_t x = 0; x < width * 3; ++x) sum += row[x];
    }
    std::fclose(file);
    return Report(width, height, sum);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessaly-readback FILE\n");
        return 2;
    }
    const char* path = argv[1];
    const char* dot = std::strrchr(path, '.');
    const std::string ext = dot ? dot + 1 : "";
    if (ext == "png") return ReadPng(path);
    if (ext == "tif" || ext == "tiff") return ReadTiff(path);
    if (ext == "bmp") return ReadBmp(path);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QImageReader::setAllocationLimit(0);
    const QImage image(QString::fromLocal8Bit(path));
    if (image.isNull()) return 1;
    return Report(image.width(), image.height(), 0);
}
