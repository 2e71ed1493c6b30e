// Writes the seed corpora of the fuzz targets. The seeds are committed; run
// this again only when the file formats change:
//   cmake --build build-fuzz --target tessaly_fuzz_make_seeds
//   build-fuzz/tests/fuzz/tessaly_fuzz_make_seeds tests/fuzz/corpus
// Every seed is small, so that mutations stay fast: a few 8x8 pictures at most.
#include <libgcab.h>

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "document/cabinet.h"
#include "document/document.h"
#include "document/document_file.h"
#include "image/bmp_writer.h"
#include "image/gif_writer.h"
#include "image/image_blob.h"

using namespace tessaly;

namespace {

[[noreturn]] void Die(const QString& what) {
    std::fprintf(stderr, "make_seeds: %s\n", qUtf8Printable(what));
    std::exit(1);
}

QImage Pattern(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixelColor(x, y, QColor((x * 31 + seed * 70) % 256, (y * 29 + seed * 40) % 256,
                                             ((x + y) * 17 + seed * 90) % 256));
        }
    }
    return image;
}

QByteArray Encode(const QImage& image, const char* format, bool progressive = false) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (qstrcmp(format, "gif") == 0) {
        if (!WriteGif(image, buffer)) Die(QStringLiteral("cannot write a GIF"));
        return bytes;
    }
    QImageWriter writer(&buffer, format);
    writer.setQuality(40);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image)) Die(QStringLiteral("cannot write %1").arg(QString::fromLatin1(format)));
    return bytes;
}

ImageBlob Blob(const QByteArray& encoded) {
    auto blob = ImageBlob::FromEncoded(encoded);
    if (!blob) Die(QStringLiteral("a seed picture is not accepted"));
    return *blob;
}

NodeRecord Record(int i, bool visible) {
    NodeRecord r{};
    r.centerX = 100 + 40 * i;
    r.centerY = 120 + 30 * i;
    r.halfWidth = 16 + i;
    r.halfHeight = 12 + i;
    for (int s = 0; s < kMaxSections; ++s) {
        r.avgRed[s] = static_cast<std::uint8_t>(10 * i + s);
        r.avgGreen[s] = static_cast<std::uint8_t>(200 - s);
        r.avgBlue[s] = static_cast<std::uint8_t>(7 * s);
    }
    r.cellColor = i % 2 ? kColorNone : MakeColorRef(20 * i, 40, 60);
    r.visible = visible ? 1 : 0;
    return r;
}

struct NodeSpec {
    std::optional<QByteArray> picture;
    bool visible = true;
};

QByteArray DocumentBytes(const std::vector<NodeSpec>& nodes, std::optional<QByteArray> background,
                         bool tweakSettings = false) {
    Document doc;
    if (!doc.AllocateNodeTables()) Die(QStringLiteral("no node tables"));
    DocState& state = doc.State();
    if (tweakSettings) {
        state.canvasWidth = 1200;
        state.canvasHeight = 800;
        state.zoom = 0.5f;
        state.mainSelection = 1;
        state.gridMode = 3;
        state.sectionCount = 25;
        for (int i = 0; i < 768; ++i) state.backHistogram[i] = (i * 37) % 1000;
    }
    if (background) state.backPicture = doc.Pictures().Adopt(Blob(*background));
    state.nodeCount = static_cast<int>(nodes.size());
    for (int i = 0; i < state.nodeCount; ++i) {
        const NodeSpec& spec = nodes[static_cast<std::size_t>(i)];
        NodeRecord& record = doc.Node(i);
        record = Record(i, spec.visible);
        if (spec.picture) record.picture = doc.Pictures().Adopt(Blob(*spec.picture));
    }
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    if (!WriteDocumentFile(out, doc, true)) Die(QStringLiteral("cannot write a document"));

    // Every seed must be a document the reader accepts.
    Document check;
    check.AllocateNodeTables();
    QBuffer in;
    in.setData(out.data());
    in.open(QIODevice::ReadOnly);
    if (!ReadDocumentFile(in, check, true)) Die(QStringLiteral("a seed document is refused"));
    return out.data();
}

void Save(const QString& path, const QByteArray& bytes, bool report = true) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        Die(QStringLiteral("cannot write %1").arg(path));
    }
    if (report) std::printf("%6lld  %s\n", static_cast<long long>(bytes.size()), qUtf8Printable(path));
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) Die(QStringLiteral("cannot read %1").arg(path));
    return file.readAll();
}

// A cabinet the way the editor saves one.
QByteArray EditorCabinet(const QTemporaryDir& temp, const QByteArray& document, const QString& member) {
    const QString inner = temp.filePath(QStringLiteral("inner"));
    const QString cabinet = temp.filePath(QStringLiteral("out.tsd"));
    Save(inner, document, false);
    if (!CompressCabinet(inner, member, cabinet)) Die(QStringLiteral("cannot compress"));
    return ReadAll(cabinet);
}

// A cabinet of several members, for names and layouts the editor never writes.
QByteArray OtherCabinet(const QTemporaryDir& temp, GCabCompression compression,
                        const std::vector<std::pair<QByteArray, QByteArray>>& members) {
    GCabFolder* folder = gcab_folder_new(compression);
    for (const auto& [name, bytes] : members) {
        GBytes* data = g_bytes_new(bytes.constData(), static_cast<gsize>(bytes.size()));
        GCabFile* file = gcab_file_new_with_bytes(name.constData(), data);
        g_bytes_unref(data);
        GError* error = nullptr;
        if (!gcab_folder_add_file(folder, file, FALSE, nullptr, &error)) Die(QStringLiteral("add file"));
        g_object_unref(file);
    }
    GCabCabinet* cabinet = gcab_cabinet_new();
    GError* error = nullptr;
    if (!gcab_cabinet_add_folder(cabinet, folder, &error)) Die(QStringLiteral("add folder"));
    g_object_unref(folder);

    const QString path = temp.filePath(QStringLiteral("other.cab"));
    GFile* target = g_file_new_for_path(QFile::encodeName(path).constData());
    GFileOutputStream* output =
        g_file_replace(target, nullptr, FALSE, G_FILE_CREATE_NONE, nullptr, &error);
    if (!output) Die(QStringLiteral("cannot open %1").arg(path));
    if (!gcab_cabinet_write_simple(cabinet, G_OUTPUT_STREAM(output), nullptr, nullptr, nullptr,
                                   &error) ||
        !g_output_stream_close(G_OUTPUT_STREAM(output), nullptr, &error)) {
        Die(QStringLiteral("cannot write a cabinet"));
    }
    g_object_unref(output);
    g_object_unref(target);
    g_object_unref(cabinet);
    return ReadAll(path);
}

// An uncompressed cabinet of one member put together field by field, with
// reserved areas in the header, the folder and the data block, which libgcab
// does not write. The data checksum is 0: not computed.
QByteArray CabinetWithReserves(const QByteArray& name, const QByteArray& data) {
    constexpr quint16 kHeaderReserve = 6;
    constexpr quint8 kFolderReserve = 3;
    constexpr quint8 kDataReserve = 2;
    QByteArray out;
    auto u8 = [&out](quint8 v) { out.append(char(v)); };
    auto u16 = [&out](quint16 v) { out.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto u32 = [&u16](quint32 v) { u16(quint16(v & 0xFFFF)); u16(quint16(v >> 16)); };

    const quint32 headerSize = 36 + 4 + kHeaderReserve;
    const quint32 filesStart = headerSize + 8 + kFolderReserve;
    const quint32 dataStart = filesStart + 16 + quint32(name.size()) + 1;
    const quint32 total = dataStart + 8 + kDataReserve + quint32(data.size());

    out.append("MSCF");
    u32(0);
    u32(total);
    u32(0);
    u32(filesStart);
    u32(0);
    u8(3);  // version 1.3
    u8(1);
    u16(1);  // folders
    u16(1);  // files
    u16(0x0004);  // reserve present
    u16(0x1234);  // set id
    u16(0);
    u16(kHeaderReserve);
    u8(kFolderReserve);
    u8(kDataReserve);
    out.append(QByteArray(kHeaderReserve, 'h'));
    u32(dataStart);  // folder
    u16(1);
    u16(0);  // no compression
    out.append(QByteArray(kFolderReserve, 'f'));
    u32(quint32(data.size()));  // file
    u32(0);
    u16(0);
    u16(0x5A21);  // date
    u16(0x6000);  // time
    u16(0x20);    // archive
    out.append(name).append('\0');
    u32(0);  // data block
    u16(quint16(data.size()));
    u16(quint16(data.size()));
    out.append(QByteArray(kDataReserve, 'd'));
    out.append(data);
    if (out.size() != qsizetype(total)) Die(QStringLiteral("cabinet layout"));
    return out;
}

// Data that compresses well but spans several 32 KiB blocks.
QByteArray Repetitive(int size) {
    QByteArray data;
    for (int i = 0; data.size() < size; ++i) data.append(QByteArray::number(i % 97) + ' ');
    data.truncate(size);
    return data;
}

// A picture as the BMP writer codes it with runs, read back as bytes.
QByteArray RleBmp(const QTemporaryDir& temp, const QImage& image, int bits, BmpCompression compression) {
    const QString path = temp.filePath(QStringLiteral("seed.bmp"));
    if (!WriteBmpFile(image, path, bits, compression)) Die(QStringLiteral("cannot write a BMP"));
    return ReadAll(path);
}

// The pictures the loaders are fed: each codec in a few of its forms.
void PictureSeeds(const QDir& folder, const QTemporaryDir& temp) {
    QImage withAlpha = Pattern(5, 4, 6).convertToFormat(QImage::Format_ARGB32);
    withAlpha.setPixelColor(1, 1, QColor(0, 0, 0, 0));
    const QByteArray jpeg = Encode(Pattern(8, 8, 0), "jpeg");
    const std::vector<std::pair<const char*, QByteArray>> seeds = {
        {"baseline.jpg", jpeg},
        {"progressive.jpg", Encode(Pattern(8, 8, 2), "jpeg", true)},
        {"grey.jpg", Encode(Pattern(8, 8, 1).convertToFormat(QImage::Format_Grayscale8), "jpeg")},
        {"no-end-marker.jpg", jpeg.left(jpeg.size() - 2)},
        {"rgb.png", Encode(Pattern(4, 4, 3), "png")},
        {"alpha.png", Encode(withAlpha, "png")},
        {"written.gif", Encode(Pattern(4, 4, 4), "gif")},
        {"rgb.bmp", Encode(Pattern(3, 2, 5), "bmp")},
        {"rle8.bmp", RleBmp(temp, Pattern(6, 3, 7), 8, BmpCompression::Rle8)},
        {"rle4.bmp", RleBmp(temp, Pattern(7, 2, 8), 4, BmpCompression::Rle4)},
        {"rgb.tif", Encode(Pattern(4, 3, 9), "tiff")},
        {"rgb.ppm", Encode(Pattern(3, 3, 10), "ppm")},
    };
    for (const auto& [name, bytes] : seeds) Save(folder.filePath(QString::fromLatin1(name)), bytes);
}

// Inputs of the round-trip target: the coding and the size, then indexes.
void RoundTripSeeds(const QDir& folder) {
    const auto seed = [](std::uint8_t first, std::uint8_t width, std::uint8_t height, QByteArray indexes) {
        return QByteArray(1, char(first)).append(char(width)).append(char(height)).append(indexes);
    };
    Save(folder.filePath(QStringLiteral("rle8-runs-and-literals")),
         seed(0, 19, 2, QByteArray("\x05\x05\x05\x05\x01\x02\x03\x07\x07\x09", 10)));
    Save(folder.filePath(QStringLiteral("rle4-odd-literals")),
         seed(1, 14, 3, QByteArray("\x01\x02\x03\x04\x05\x0f\x0f\x0f\x0f\x00\x0a", 11)));
    Save(folder.filePath(QStringLiteral("rle8-wide-gradient")),
         seed(2, 43, 1, [] { QByteArray b; for (int i = 0; i < 256; ++i) b.append(char(i)); return b; }()));
    Save(folder.filePath(QStringLiteral("one-pixel")), seed(1, 0, 0, QByteArray(1, '\x0c')));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) Die(QStringLiteral("usage: tessaly_fuzz_make_seeds CORPUS_FOLDER"));
    const QDir corpus(QString::fromLocal8Bit(argv[1]));
    const QDir reader(corpus.filePath(QStringLiteral("document_reader")));
    const QDir cabinets(corpus.filePath(QStringLiteral("cabinet_extract")));
    const QDir opened(corpus.filePath(QStringLiteral("document_open")));
    const QDir pictures(corpus.filePath(QStringLiteral("picture_load")));
    const QDir roundTrips(corpus.filePath(QStringLiteral("bmp_round_trip")));
    for (const QDir& folder : {reader, cabinets, opened, pictures, roundTrips}) {
        if (!QDir().mkpath(folder.path())) Die(QStringLiteral("mkdir"));
    }

    const QByteArray jpeg = Encode(Pattern(8, 8, 0), "jpeg");
    const QByteArray jpeg2 = Encode(Pattern(8, 6, 1), "jpeg");
    const QByteArray progressive = Encode(Pattern(8, 8, 2), "jpeg", true);
    const QByteArray png = Encode(Pattern(4, 4, 3), "png");
    const QByteArray gif = Encode(Pattern(4, 4, 4), "gif");
    const QByteArray bmp = Encode(Pattern(2, 2, 5), "bmp");

    const QByteArray empty = DocumentBytes({}, std::nullopt);
    const QByteArray one = DocumentBytes({{jpeg}}, std::nullopt);
    const QByteArray few = DocumentBytes({{jpeg}, {jpeg2, false}, {std::nullopt}, {progressive}},
                                         std::nullopt, true);
    const QByteArray withBackground = DocumentBytes({{jpeg2}, {jpeg}}, jpeg, true);
    const QByteArray formats = DocumentBytes({{png}, {gif}, {bmp}}, png);

    Save(reader.filePath(QStringLiteral("empty")), empty);
    Save(reader.filePath(QStringLiteral("one-node")), one);
    Save(reader.filePath(QStringLiteral("few-nodes")), few);
    Save(reader.filePath(QStringLiteral("background")), withBackground);
    Save(reader.filePath(QStringLiteral("other-formats")), formats);
    // The second format version, which the reader also accepts.
    QByteArray version2 = one;
    version2[5] = '2';
    Save(reader.filePath(QStringLiteral("version-002")), version2);

    QTemporaryDir temp;
    if (!temp.isValid()) Die(QStringLiteral("no temporary folder"));
    Save(cabinets.filePath(QStringLiteral("empty")),
         EditorCabinet(temp, empty, QStringLiteral("empty.tsd")));
    Save(cabinets.filePath(QStringLiteral("one-node")),
         EditorCabinet(temp, one, QStringLiteral("one-node.tsd")));
    Save(cabinets.filePath(QStringLiteral("background")),
         EditorCabinet(temp, withBackground, QStringLiteral("background.tsd")));
    Save(cabinets.filePath(QStringLiteral("member-in-folders")),
         EditorCabinet(temp, one, QStringLiteral("sub\\folder\\picture.tsd")));
    Save(cabinets.filePath(QStringLiteral("stored-two-members")),
         OtherCabinet(temp, GCAB_COMPRESSION_NONE,
                      {{"first.tsd", empty.left(64)}, {"..\\..\\second.tsd", QByteArray("TSD")}}));
    Save(cabinets.filePath(QStringLiteral("compressed-nested-names")),
         OtherCabinet(temp, GCAB_COMPRESSION_MSZIP,
                      {{"a/b/c.tsd", empty.left(200)}, {"d.tsd", QByteArray(100, 'x')}}));
    Save(cabinets.filePath(QStringLiteral("reserved-areas")),
         CabinetWithReserves("reserved.tsd", one.left(300)));
    Save(cabinets.filePath(QStringLiteral("compressed-three-blocks")),
         OtherCabinet(temp, GCAB_COMPRESSION_MSZIP, {{"blocks.tsd", Repetitive(70000)}}));
    Save(cabinets.filePath(QStringLiteral("dot-dot")),
         OtherCabinet(temp, GCAB_COMPRESSION_NONE, {{"..", QByteArray("x")}}));

    // Whole documents as the editor saves them.
    Save(opened.filePath(QStringLiteral("empty.tsd")), EditorCabinet(temp, empty, QStringLiteral("empty.tsd")));
    Save(opened.filePath(QStringLiteral("few-nodes.tsd")), EditorCabinet(temp, few, QStringLiteral("few.tsd")));
    Save(opened.filePath(QStringLiteral("other-formats.tsd")),
         EditorCabinet(temp, formats, QStringLiteral("formats.tsd")));

    PictureSeeds(pictures, temp);
    RoundTripSeeds(roundTrips);
    return 0;
}
