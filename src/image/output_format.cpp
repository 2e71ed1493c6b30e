#include "image/output_format.h"

#include <algorithm>

namespace tessaly {

std::optional<OutputFormat> OutputFormat::ForTypeName(QStringView typeName, int jpegQuality) {
    OutputFormat format;
    const QString name = typeName.toString().toLower();
    if (name == u"bmp") return Bmp(24);
    if (name == u"jpeg") return Jpeg(jpegQuality);
    if (name == u"gif") {
        format.type = Type::Gif;
    } else if (name == u"png") {
        format.type = Type::Png;
    } else if (name == u"tiff") {
        format.type = Type::Tiff;
    } else {
        return std::nullopt;
    }
    return format;
}

OutputFormat OutputFormat::Jpeg(int quality) {
    OutputFormat format;
    format.type = Type::Jpeg;
    format.jpegQuality = std::clamp(quality, 1, 100);
    return format;
}

OutputFormat OutputFormat::Bmp(int bits, bool rle) {
    OutputFormat format;
    format.type = Type::Bmp;
    format.bmpBits = bits;
    if (bits == 16 || bits == 32) format.compression = BmpCompression::BitFields;
    else if (rle && bits == 4) format.compression = BmpCompression::Rle4;
    else if (rle && bits == 8) format.compression = BmpCompression::Rle8;
    return format;
}

QString OutputFormat::TypeName() const {
    switch (type) {
    case Type::Bmp: return QStringLiteral("bmp");
    case Type::Jpeg: return QStringLiteral("jpeg");
    case Type::Gif: return QStringLiteral("gif");
    case Type::Png: return QStringLiteral("png");
    case Type::Tiff: return QStringLiteral("tiff");
    }
    return {};
}

}  // namespace tessaly
