// tessaly-cli: scripting and batch work on the editor's core, without windows.

#include <signal.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <cstdio>
#include <cstring>

#include "canvas/canvas_image.h"
#include "document/document.h"
#include "document/document_io.h"
#include "document_info.h"
#include "image/image_files.h"
#include "image/picture_io.h"
#include "image/regular_file.h"
#include "image_export.h"
#include "mosaic/similar_images.h"
#include "mosaic_command.h"
#include "terminal_progress.h"

namespace {

using namespace tessaly;

constexpr char kUsage[] =
    "usage: tessaly-cli COMMAND [ARGS]\n"
    "\n"
    "commands:\n"
    "  picture FILE...                 load image files as the editor does and print,\n"
    "                                  as JSON, type, pixel size, file size and the size\n"
    "                                  of the picture's stream\n"
    "  convert IN OUT [W H [QUALITY]]  load IN as a picture and write it to OUT, scaled\n"
    "                                  to W x H, in the type OUT's extension names\n"
    "                                  (jpeg, png, bmp, tiff, gif; JPEG QUALITY 10..100)\n"
    "  info FILE.tsd                   print a document as JSON: header, every field\n"
    "                                  of the settings block, every record (also reads\n"
    "                                  undo snapshots, which have no cabinet around them)\n"
    "  render FILE.tsd OUT [ZOOM] [OPTIONS]\n"
    "                                  paint the document's canvas as the editor shows\n"
    "                                  it (default zoom: the document's own) into an\n"
    "                                  image file of the type OUT's extension names;\n"
    "                                  options as for 'mosaic --export':\n"
    "                                  --bmp-bits 1|4|8|16|24|32, --rle, --quality N\n"
    "  mosaic OPTIONS                  make a photomosaic as the editor's console does:\n"
    "                                  --background IMAGE, the images of --tiles DIR,\n"
    "                                  one arrangement, then -o OUT.tsd and/or --export\n"
    "                                  OUT ('mosaic --help' lists every option)\n"
    "  candidates FILE.tsd NODE [N]    the N (default 8) images closest in colour to\n"
    "                                  the background under node NODE (0 is the first\n"
    "                                  record 'info' lists), as the editor's\n"
    "                                  \"似た色のイメージと入れ替え\" ranks them: JSON of\n"
    "                                  index, distance (0..765) and whether placed\n"
    "  version                         print the version\n";

void Print(const QByteArray& text, std::FILE* to = stdout) {
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), to);
}

int Usage() {
    Print(kUsage, stderr);
    return 2;
}

QJsonObject DescribePicture(const QString& path) {
    const QString type = ImageTypeOf(path);
    QJsonObject info{{QStringLiteral("path"), path}, {QStringLiteral("type"), type}};
    if (type.isEmpty()) {
        info.insert(QStringLiteral("loaded"), false);
        return info;
    }
    const LoadedPicture loaded = LoadImageFile(path, type);
    info.insert(QStringLiteral("loaded"), loaded.picture.has_value());
    info.insert(QStringLiteral("width"), loaded.size.width());
    info.insert(QStringLiteral("height"), loaded.size.height());
    info.insert(QStringLiteral("fileSize"), loaded.fileSize);
    if (loaded.picture) {
        info.insert(QStringLiteral("streamSize"), EncodedSize(&*loaded.picture));
        info.insert(QStringLiteral("streamFormat"), QString::fromLatin1(loaded.picture->Format()));
    }
    return info;
}

int PictureCommand(const QStringList& files) {
    if (files.isEmpty()) return Usage();
    QJsonArray result;
    bool allLoaded = true;
    for (const QString& file : files) {
        const QJsonObject info = DescribePicture(file);
        allLoaded = allLoaded && info.value(QStringLiteral("loaded")).toBool();
        result.append(info);
    }
    Print(QJsonDocument(result).toJson(QJsonDocument::Indented));
    return allLoaded ? 0 : 1;
}

int ConvertCommand(const QStringList& args) {
    if (args.size() < 2 || args.size() > 5) return Usage();
    const QString in = args[0];
    const QString out = args[1];
    const LoadedPicture loaded = LoadImageFile(in, ImageTypeOf(in));
    if (!loaded.picture) {
        Print(QStringLiteral("tessaly-cli: cannot read %1\n").arg(in).toUtf8(), stderr);
        return 1;
    }
    bool ok = true;
    const int width = args.size() > 2 ? args[2].toInt(&ok) : loaded.size.width();
    const int height = ok && args.size() > 3 ? args[3].toInt(&ok) : loaded.size.height();
    const int quality = ok && args.size() > 4 ? std::clamp(args[4].toInt(&ok), 10, 100) : 100;
    if (!ok || width <= 0 || height <= 0) return Usage();
    const auto format = OutputFormat::ForTypeName(ImageTypeOf(out), quality);
    if (!format) return Usage();
    WriteWatch watch;
    // Decoded no larger than the picture written needs.
    const QImage pixels = loaded.picture->DecodeReduced(QSize(width, height));
    if (!SaveBitmapFile(pixels, out, width, height, *format, false, &watch)) {
        const QString reason =
            watch.error != 0 ? u": "_qs + QString::fromLocal8Bit(std::strerror(watch.error)) : QString();
        Print(QStringLiteral("tessaly-cli: cannot write %1%2\n").arg(out, reason).toUtf8(), stderr);
        return 1;
    }
    return 0;
}

int InfoCommand(const QStringList& args) {
    if (args.size() != 1) return Usage();
    const auto description = DescribeDocumentFile(args.front());
    if (!description) return 1;
    Print(QJsonDocument(*description).toJson(QJsonDocument::Indented));
    return 0;
}

int RenderCommand(const QStringList& options) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    AddExportOptions(parser);
    const QString scaleName = QStringLiteral("scale");
    parser.addOption(QCommandLineOption(scaleName, QString(), QStringLiteral("Z")));
    if (!parser.parse(QStringList{QStringLiteral("render")} + options)) {
        Print(QStringLiteral("tessaly-cli render: %1\n").arg(parser.errorText()).toUtf8(), stderr);
        return Usage();
    }
    const QStringList args = parser.positionalArguments();
    if (args.size() < 2 || args.size() > 3) return Usage();
    QString error;
    const auto format = ReadExportFormat(parser, args[1], error);
    const auto scale = format ? ReadPosterScale(parser, scaleName, error) : std::nullopt;
    if (scale && parser.isSet(scaleName) && args.size() > 2) {
        error = QStringLiteral("give either ZOOM or --scale, not both");
    }
    if (!error.isEmpty()) {
        Print(QStringLiteral("tessaly-cli render: %1\n").arg(error).toUtf8(), stderr);
        return 2;
    }
    Document doc;
    if (!doc.AllocateNodeTables() || !OpenDocument(doc, args[0])) return 1;
    bool ok = true;
    CanvasImageRequest request;
    request.zoom = args.size() > 2 ? args[2].toFloat(&ok) : doc.State().zoom;
    if (!ok) return Usage();
    if (parser.isSet(scaleName)) {
        request.poster = true;
        request.zoom = *scale;
    }
    if (!PaintAndWrite(doc, request, args[1], *format, error)) {
        Print(QStringLiteral("tessaly-cli: %1\n").arg(error).toUtf8(), stderr);
        return 1;
    }
    return 0;
}

int CandidatesCommand(const QStringList& args) {
    if (args.size() < 2 || args.size() > 3) return Usage();
    bool ok = true;
    const int node = args[1].toInt(&ok);
    const int count = ok && args.size() > 2 ? args[2].toInt(&ok) : kSimilarImagesShown;
    if (!ok || count < 1) return Usage();
    Document doc;
    if (!doc.AllocateNodeTables() || !OpenDocument(doc, args[0])) return 1;
    const auto fail = [](const QString& why) {
        Print(QStringLiteral("tessaly-cli candidates: %1\n").arg(why).toUtf8(), stderr);
        return 1;
    };
    if (node < 0 || node >= doc.State().nodeCount) {
        return fail(QStringLiteral("the document has no node %1 (it has %2)")
                        .arg(node)
                        .arg(doc.State().nodeCount));
    }
    const BackgroundUnderNodes background(doc);
    if (!background.Valid()) return fail(QStringLiteral("the document has no readable background picture"));
    QJsonArray result;
    for (const SimilarImage& image : FindSimilarImages(doc, background, node, count)) {
        result.append(QJsonObject{{QStringLiteral("index"), image.node},
                                  {QStringLiteral("distance"), image.distance},
                                  {QStringLiteral("placed"), image.placed}});
    }
    Print(QJsonDocument(result).toJson(QJsonDocument::Indented));
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Pictures and drawing need a GUI application object, but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tessaly"));
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));

    // A write beyond a file-size limit fails as any failed write does,
    // instead of ending the program.
    signal(SIGXFSZ, SIG_IGN);
    const TerminalProgress progress;

    // The arguments as the file system names them (the application object
    // has taken out its own options).
    NativePaths paths;
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        const QString path = paths.FromBytes(bytes);
        if (path.isEmpty() && !bytes.isEmpty()) {
            Print(QStringLiteral("tessaly-cli: %1: no such file; a name that is not valid UTF-8 "
                                 "can only name an existing file or folder\n")
                      .arg(QFile::decodeName(bytes))
                      .toUtf8(),
                  stderr);
            return 1;
        }
        args.append(path);
    }
    if (args.isEmpty()) return Usage();
    const QString command = args.takeFirst();
    if (command == u"picture") return PictureCommand(args);
    if (command == u"convert") return ConvertCommand(args);
    if (command == u"info") return InfoCommand(args);
    if (command == u"render") return RenderCommand(args);
    if (command == u"mosaic") return MosaicCommand(args);
    if (command == u"candidates") return CandidatesCommand(args);
    if (command == u"version") {
        Print(QByteArrayLiteral("tessaly-cli 1.03\n"));
        return 0;
    }
    return Usage();
}
