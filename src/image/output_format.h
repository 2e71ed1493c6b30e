#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace tessaly {

enum class BmpCompression { None, Rle4, Rle8, BitFields };

// How a picture is written to a file: the file's type and what that type
// needs. One value serves every place that writes pictures (the export of
// the canvas, the command line, batch creation, multi-cut pieces, a node's
// picture saved as a file).
struct OutputFormat {
    enum class Type { Bmp, Jpeg, Gif, Png, Tiff };

    Type type = Type::Jpeg;
    int bmpBits = 24;  // Bmp: 1, 4, 8, 16, 24 or 32
    BmpCompression compression = BmpCompression::None;  // Bmp: Rle4/Rle8 or BitFields (16, 32)
    int jpegQuality = 100;  // Jpeg: 1..100

    // The format of an image type name as ImageTypeOf gives it: "bmp" (24
    // bits, uncompressed), "jpeg" (at `jpegQuality`), "gif", "png", "tiff".
    // Nothing for any other name.
    static std::optional<OutputFormat> ForTypeName(QStringView typeName, int jpegQuality = 100);
    // A BMP file of `bits` per pixel with the compression that depth takes:
    // bit-field masks for 16 and 32, run-length coding for 4 and 8 with `rle`.
    static OutputFormat Bmp(int bits, bool rle = false);
    // A JPEG file of `quality` (bounded to 1..100).
    static OutputFormat Jpeg(int quality);

    // "bmp", "jpeg", "gif", "png" or "tiff".
    QString TypeName() const;
    bool IsBmp() const { return type == Type::Bmp; }

    bool operator==(const OutputFormat&) const = default;
};

}  // namespace tessaly
