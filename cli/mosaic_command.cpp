#include "mosaic_command.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QThread>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "canvas/canvas_image.h"
#include "canvas/image_batch.h"
#include "canvas/line_styles.h"
#include "document/cabinet.h"
#include "document/document.h"
#include "document/document_file.h"
#include "document/document_io.h"
#include "image/image_files.h"
#include "image_export.h"
#include "mosaic/arrangement.h"
#include "mosaic/colour_features.h"
#include "services/message_service.h"
#include "services/status_service.h"

namespace tessaly {
namespace {

constexpr char kMosaicHelp[] =
    "usage: tessaly-cli mosaic --background IMAGE --tiles DIR [OPTIONS]\n"
    "                          (-o OUT.tsd | --export OUT.png | both)\n"
    "\n"
    "Makes a photomosaic as the editor's console does: a new document with IMAGE as\n"
    "its background picture, the image files of DIR (not its subfolders) added as\n"
    "tiles by name, 3000 at a time, until the document holds its 9000 images, and\n"
    "one arrangement run.\n"
    "\n"
    "  --background IMAGE   the background picture (jpg, png, bmp, gif, tif)\n"
    "  --tiles DIR          the folder of tile images\n"
    "  --shrink WxH         shrink every tile to W x H pixels as it is added,\n"
    "                       each side 1..1000 (default: tiles keep their size)\n"
    "  --canvas WxH         canvas size, each side 500..5000 (default 1000x1000)\n"
    "  --type N             layout 1..7: 1 grid, 2..5 bands from the bottom, top,\n"
    "                       right, left, 6 rings outward, 7 rings inward (default 1)\n"
    "  --columns N          grid columns, 20..500 (default 20)\n"
    "  --rows N             grid rows, 20..500 (default 20)\n"
    "  --sizes N            how many cell sizes, 1..100 (default 3)\n"
    "  --layers N           layer thickness, 1..100 (default 1)\n"
    "  --sections N         colour sections a cell is compared by: 1, 4, 9, 16 or 25\n"
    "                       (default 9)\n"
    "  --precision N        comparison precision, 1..25 (default 13)\n"
    "  --different          pick the most different image instead of the closest\n"
    "  --skip-colour RRGGBB leave cells of this background colour empty\n"
    "  --skip-range N       how far from that colour a cell may be, 0..100 (default 5)\n"
    "  --seed N             the arrangement's random seed, 0..4294967295\n"
    "                       (default: the current time in seconds)\n"
    "  -o, --output OUT.tsd write the document\n"
    "  --export OUT         paint the canvas at zoom 1 into an image file of the type\n"
    "                       OUT's extension names (png, jpg, bmp, gif, tif), as the\n"
    "                       editor exports it: background and images, no grid\n"
    "  --export-zoom Z      paint the exported picture at Z times the canvas's size,\n"
    "                       up to 4: a poster (a 5000 x 5000 canvas gives 20000 x\n"
    "                       20000 pixels), each image drawn from its own picture\n";

// After the export options.
constexpr char kMosaicHelpDisplay[] =
    "\n"
    "Display settings, stored in the document and used by --export, as the\n"
    "console sets them in the editor:\n"
    "  --show-background    draw the background picture where no tile lies (the\n"
    "                       default of a new document)\n"
    "  --hide-background    fill the canvas with its background colour instead\n"
    "  --adjust-colours     tint each tile with what lies beneath it\n"
    "  --mosaic-background  with --adjust-colours: tint each tile with the average\n"
    "                       background colour of its cell instead\n"
    "  --brightness L       background brightness, 1..7: 4 as it is, each step\n"
    "                       darker or brighter by 32 on each colour (default 4)\n"
    "  --frames W,STYLE,COLOUR\n"
    "                       a frame line around each tile: width 1..20, style 0..5\n"
    "                       (0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot,\n"
    "                       5 double), colour RRGGBB or auto (each tile's own)\n"
    "\n"
    "Reports on standard error how many tiles are loaded while they load. Of more\n"
    "images than a document holds, the first 9000 by name are used, after the\n"
    "editor's message about its limit. Prints the arrangement's time, the share of\n"
    "the canvas covered and the number of tiles left unplaced. Exit status: 0 done,\n"
    "1 bad input or a file that cannot be read or written, 2 a command line that\n"
    "does not parse.\n";

void Print(const QString& text, std::FILE* to = stdout) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), to);
}

int Fail(const QString& message) {
    Print(QStringLiteral("tessaly-cli: %1\n").arg(message), stderr);
    return 1;
}

int UsageError(const QString& message) {
    Print(QStringLiteral("tessaly-cli mosaic: %1\n"
                         "try 'tessaly-cli mosaic --help'\n")
              .arg(message),
          stderr);
    return 2;
}

// A value given on the command line that is malformed or out of range.
struct BadValue {
    QString message;
};

int IntOption(const QCommandLineParser& parser, const QString& name, int low, int high,
              int fallback, std::optional<BadValue>& bad) {
    if (bad || !parser.isSet(name)) return fallback;
    const QString text = parser.value(name);
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high) {
        bad = BadValue{QStringLiteral("--%1 takes a whole number from %2 to %3, not '%4'")
                           .arg(name)
                           .arg(low)
                           .arg(high)
                           .arg(text)};
        return fallback;
    }
    return value;
}

std::optional<QSize> SizeOption(const QCommandLineParser& parser, const QString& name, int low,
                                int high, std::optional<BadValue>& bad) {
    if (bad || !parser.isSet(name)) return std::nullopt;
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,9})[xX](\\d{1,9})$"));
    const QString text = parser.value(name);
    const QRegularExpressionMatch match = pattern.match(text);
    const int width = match.hasMatch() ? match.captured(1).toInt() : 0;
    const int height = match.hasMatch() ? match.captured(2).toInt() : 0;
    if (width < low || width > high || height < low || height > high) {
        bad = BadValue{QStringLiteral("--%1 takes WIDTHxHEIGHT, each side %2 to %3, not '%4'")
                           .arg(name)
                           .arg(low)
                           .arg(high)
                           .arg(text)};
        return std::nullopt;
    }
    return QSize(width, height);
}

// Six hex digits RRGGBB, with or without a leading '#'.
std::optional<ColorRef> ParseColour(QString text) {
    static const QRegularExpression pattern(QStringLiteral("^#?[0-9A-Fa-f]{6}$"));
    if (!pattern.match(text).hasMatch()) return std::nullopt;
    if (text.startsWith(u'#')) text.remove(0, 1);
    const uint rgb = text.toUInt(nullptr, 16);
    return MakeColorRef(static_cast<int>(rgb >> 16), static_cast<int>(rgb >> 8),
                        static_cast<int>(rgb));
}

std::optional<ColorRef> ColourOption(const QCommandLineParser& parser, const QString& name,
                                     std::optional<BadValue>& bad) {
    if (bad || !parser.isSet(name)) return std::nullopt;
    const QString text = parser.value(name);
    const std::optional<ColorRef> colour = ParseColour(text);
    if (!colour) {
        bad = BadValue{
            QStringLiteral("--%1 takes a colour as six hex digits RRGGBB, not '%2'").arg(name, text)};
    }
    return colour;
}

// --frames W,STYLE,COLOUR: turns the image frames on with that line.
void FramesOption(const QCommandLineParser& parser, DocState& state,
                  std::optional<BadValue>& bad) {
    if (bad || !parser.isSet(QStringLiteral("frames"))) return;
    const QString text = parser.value(QStringLiteral("frames"));
    const QStringList parts = text.split(u',');
    bool widthOk = false, styleOk = false;
    const int width = parts.size() == 3 ? parts[0].toInt(&widthOk) : 0;
    const int style = parts.size() == 3 ? parts[1].toInt(&styleOk) : -1;
    const bool automatic = parts.size() == 3 && parts[2].compare(u"auto", Qt::CaseInsensitive) == 0;
    const std::optional<ColorRef> colour =
        parts.size() == 3 && !automatic ? ParseColour(parts[2]) : std::nullopt;
    if (!widthOk || width < 1 || width > 20 || !styleOk || style < 0 ||
        style >= kLineStyleCount || (!automatic && !colour)) {
        bad = BadValue{QStringLiteral("--frames takes WIDTH,STYLE,COLOUR: a width from 1 to 20, "
                                      "a style from 0 to %1 and RRGGBB or auto, not '%2'")
                           .arg(kLineStyleCount - 1)
                           .arg(text)};
        return;
    }
    state.imageFrames = 1;
    state.imageFrameWidth = width;
    state.imageFrameStyle = style;
    state.imageFrameColor = automatic ? kColorNone : *colour;
}

// The display settings a user of the editor sets in the console.
void DisplayOptions(const QCommandLineParser& parser, DocState& state,
                    std::optional<BadValue>& bad) {
    const bool show = parser.isSet(QStringLiteral("show-background"));
    const bool hide = parser.isSet(QStringLiteral("hide-background"));
    if (!bad && show && hide) {
        bad = BadValue{
            QStringLiteral("--show-background and --hide-background exclude each other")};
    }
    if (show || hide) state.showBackPicture = show ? 1 : 0;
    if (parser.isSet(QStringLiteral("adjust-colours"))) state.adjustColors = 1;
    if (parser.isSet(QStringLiteral("mosaic-background"))) state.mosaicBackground = 1;
    state.backBrightness =
        IntOption(parser, QStringLiteral("brightness"), 1, 7, state.backBrightness, bad);
    FramesOption(parser, state, bad);
}

// What one run is asked to do.
struct MosaicJob {
    QString background;
    QString tiles;
    QString document;     // -o
    QString exportImage;  // --export
    OutputFormat exportFormat;
    float exportZoom = 1.0f;  // --export-zoom: a poster beyond 5000 pixels a side
    std::optional<QSize> shrinkTo;
    std::uint32_t seed = 0;
};

// Checks before any work that `path` can be written: its folder exists and
// is writable, and it is no folder itself.
std::optional<QString> UnwritableReason(const QString& path) {
    const QFileInfo target(path);
    if (target.isDir()) return QStringLiteral("%1 is a folder").arg(path);
    if (target.exists() && !target.isWritable()) {
        return QStringLiteral("%1 cannot be written").arg(path);
    }
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir()) return QStringLiteral("%1: no folder %2").arg(path, folder.filePath());
    if (!folder.isWritable()) {
        return QStringLiteral("%1: the folder %2 cannot be written").arg(path, folder.filePath());
    }
    return std::nullopt;
}

// Passes the core's messages to standard error as the default presenter
// does, counting them: during an add, any message means it stopped early.
class CountingPresenter final : public MessagePresenter {
public:
    CountingPresenter() { InstallMessagePresenter(this); }
    ~CountingPresenter() override { InstallMessagePresenter(nullptr); }
    CountingPresenter(const CountingPresenter&) = delete;
    CountingPresenter& operator=(const CountingPresenter&) = delete;

    int Present(QObject*, const QString& caption, const QString& text, int style) override {
        ++shown_;
        Print(caption + QStringLiteral(": ") + text + u'\n', stderr);
        return DefaultAnswer(style);
    }
    int Shown() const { return shown_; }

private:
    int shown_ = 0;
};

// Remembers the last file the add named on the status bar (the one it was
// taking when it stopped), and reports on standard error each tenth of the
// tiles as the document receives them.
class TileProgress final : public StatusSink {
public:
    TileProgress(const Document& doc, int total) : doc_(doc), total_(std::max(total, 1)) {
        InstallStatusSink(this);
    }
    ~TileProgress() override { InstallStatusSink(nullptr); }
    TileProgress(const TileProgress&) = delete;
    TileProgress& operator=(const TileProgress&) = delete;

    void SetPaneText(StatusPane, const QString&) override {}
    void SetInfoText(const QString& text) override {
        if (!text.isEmpty()) last_ = text;
    }
    void SetProgressRange(int, int) override {}
    // The add moves its bar after each image it keeps, batch by batch; the
    // node count tells how far the whole load is.
    void SetProgressValue(int) override {
        const int loaded = doc_.State().nodeCount;
        const int tenth = static_cast<int>(std::min<qint64>(qint64(loaded) * 10 / total_, 10));
        if (tenth <= reported_) return;
        reported_ = tenth;
        Print(QStringLiteral("tessaly-cli: tiles loaded: %1 of %2\n").arg(loaded).arg(total_),
              stderr);
    }
    const QString& Last() const { return last_; }

private:
    const Document& doc_;
    const int total_;
    int reported_ = 0;
    QString last_;
};

// Applies the options to the settings block of a new document; the job
// gets the rest. False (with `bad` set) on a malformed or out-of-range value.
bool ReadOptions(const QCommandLineParser& parser, DocState& state, MosaicJob& job,
                 std::optional<BadValue>& bad) {
    const std::optional<QSize> canvas = SizeOption(parser, QStringLiteral("canvas"),
                                                   kMinCanvasSide, kMaxCanvasSide, bad);
    if (canvas) {
        state.canvasWidth = canvas->width();
        state.canvasHeight = canvas->height();
    }
    job.shrinkTo = SizeOption(parser, QStringLiteral("shrink"), 1, 1000, bad);
    state.mosaicType = IntOption(parser, QStringLiteral("type"), 1, 7, state.mosaicType, bad);
    state.gridColumns =
        IntOption(parser, QStringLiteral("columns"), 20, 500, state.gridColumns, bad);
    state.gridRows = IntOption(parser, QStringLiteral("rows"), 20, 500, state.gridRows, bad);
    state.sizeSteps = IntOption(parser, QStringLiteral("sizes"), 1, 100, state.sizeSteps, bad);
    state.layerThickness =
        IntOption(parser, QStringLiteral("layers"), 1, 100, state.layerThickness, bad);
    if (!bad && parser.isSet(QStringLiteral("sections"))) {
        const QString text = parser.value(QStringLiteral("sections"));
        if (!QStringList{QStringLiteral("1"), QStringLiteral("4"), QStringLiteral("9"),
                         QStringLiteral("16"), QStringLiteral("25")}
                 .contains(text)) {
            bad = BadValue{QStringLiteral("--sections takes 1, 4, 9, 16 or 25, not '%1'").arg(text)};
        }
        state.sectionCount = text.toInt();
    }
    state.comparePrecision =
        IntOption(parser, QStringLiteral("precision"), 1, 25, state.comparePrecision, bad);
    state.differentColors = parser.isSet(QStringLiteral("different")) ? 1 : 0;
    if (const auto colour = ColourOption(parser, QStringLiteral("skip-colour"), bad)) {
        state.skipNoSetColor = 1;
        state.noSetColor = *colour;
    }
    state.noSetRange =
        IntOption(parser, QStringLiteral("skip-range"), 0, 100, state.noSetRange, bad);
    DisplayOptions(parser, state, bad);

    job.seed = static_cast<std::uint32_t>(QDateTime::currentSecsSinceEpoch());
    if (!bad && parser.isSet(QStringLiteral("seed"))) {
        const QString text = parser.value(QStringLiteral("seed"));
        bool ok = false;
        const qulonglong seed = text.toULongLong(&ok);
        if (!ok || seed > 0xFFFFFFFFull || text.startsWith(u'-')) {
            bad = BadValue{
                QStringLiteral("--seed takes a whole number from 0 to 4294967295, not '%1'")
                    .arg(text)};
        }
        job.seed = static_cast<std::uint32_t>(seed);
    }
    return !bad;
}

// Loads the background picture into the document as the editor keeps one:
// in the pool, with its histogram.
int SetBackground(Document& doc, const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return Fail(QStringLiteral("no background picture %1").arg(path));
    if (!info.isFile()) return Fail(QStringLiteral("the background %1 is not a file").arg(path));
    const QString type = ImageTypeOf(path);
    if (type.isEmpty()) {
        return Fail(QStringLiteral("the background %1 is not of an image type "
                                   "(jpg, png, bmp, gif, tif)")
                        .arg(path));
    }
    LoadedPicture loaded = LoadImageFile(path, type);
    if (!loaded.picture) {
        return Fail(QStringLiteral("cannot read the background picture %1").arg(path));
    }
    AdoptBackgroundPicture(doc, *std::move(loaded.picture));
    return 0;
}

// The usable images of the tile folder, by name; empty (after saying why)
// when there are none.
std::optional<std::vector<ImageEntry>> TileEntries(const QString& path) {
    const QFileInfo info(path);
    if (!info.isDir()) {
        Fail(QStringLiteral("no tile folder %1").arg(path));
        return std::nullopt;
    }
    const QDir folder(path);
    if (!info.isReadable() || !folder.isReadable()) {
        Fail(QStringLiteral("cannot read the tile folder %1").arg(path));
        return std::nullopt;
    }
    std::vector<ImageEntry> entries;
    for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
        const QString file = folder.filePath(name);
        const QString type = ImageTypeOf(file);
        if (!type.isEmpty()) entries.push_back({file, type});
    }
    if (entries.empty()) {
        Fail(QStringLiteral("the tile folder %1 holds no image file (jpg, png, bmp, gif, tif)")
                 .arg(path));
        return std::nullopt;
    }
    return entries;
}

// Adds the tiles as a user of the editor would: one add command after
// another, each of at most the add's own limit, until the tiles run out or
// the document is full. A tile that stops an add fails the run; the
// document's limit only ends the adds, after the editor's message about it.
int AddTiles(Document& doc, const std::vector<ImageEntry>& entries, const MosaicJob& job) {
    AddImagesRequest request;
    request.start = QPoint(0, 0);
    request.windowCentre = QPoint(doc.State().canvasWidth / 2, doc.State().canvasHeight / 2);
    request.shrinkTo = job.shrinkTo;
    request.workers = std::max(1, QThread::idealThreadCount());
    CountingPresenter messages;
    TileProgress progress(doc, std::min(static_cast<int>(entries.size()), kMaxNodes));
    for (std::size_t first = 0; first < entries.size(); first += kMaxAddEntries) {
        const std::size_t end = std::min(entries.size(), first + kMaxAddEntries);
        const std::vector<ImageEntry> batch(entries.begin() + static_cast<std::ptrdiff_t>(first),
                                            entries.begin() + static_cast<std::ptrdiff_t>(end));
        AddImageFiles(doc, batch, request);
        if (messages.Shown() == 0) continue;
        if (doc.State().nodeCount >= kMaxNodes) {
            Print(QStringLiteral("tessaly-cli: %1 holds more images than a document takes; "
                                 "the first %2 by name are used\n")
                      .arg(job.tiles)
                      .arg(kMaxNodes),
                  stderr);
            break;
        }
        return Fail(QStringLiteral("the tiles could not all be added; stopped at %1")
                        .arg(progress.Last().isEmpty() ? job.tiles : progress.Last()));
    }
    if (doc.State().nodeCount <= 0) {
        return Fail(QStringLiteral("no tile of %1 could be added").arg(job.tiles));
    }
    return 0;
}

// Writes the document as a .tsd file through the editor's safe save: beside
// the target, checked, then renamed over it, so a failure leaves the previous
// file as it was. Unlike the editor's save, a batch run records no recent
// file and keeps no backup copy. The reason has been printed as a message.
int WriteDocument(const Document& doc, const QString& path) {
    if (!WriteDocumentSafely(doc, path, true)) {
        return Fail(QStringLiteral("cannot write %1").arg(path));
    }
    return 0;
}

// Paints the canvas at 100 %, or as a poster at --export-zoom, as the
// editor's export does: background and nodes, without grid and selection
// marks.
int ExportCanvas(const Document& doc, const MosaicJob& job) {
    CanvasImageRequest request;
    request.zoom = job.exportZoom;
    request.poster = job.exportZoom != 1.0f;
    request.viewMarks = false;
    QString error;
    return PaintAndWrite(doc, request, job.exportImage, job.exportFormat, error) ? 0 : Fail(error);
}

void AddOptions(QCommandLineParser& parser) {
    const auto valued = [&](const QStringList& names, const char* value) {
        parser.addOption(QCommandLineOption(names, QString(), QString::fromLatin1(value)));
    };
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    valued({QStringLiteral("background")}, "IMAGE");
    valued({QStringLiteral("tiles")}, "DIR");
    valued({QStringLiteral("shrink")}, "WxH");
    valued({QStringLiteral("canvas")}, "WxH");
    valued({QStringLiteral("type")}, "N");
    valued({QStringLiteral("columns")}, "N");
    valued({QStringLiteral("rows")}, "N");
    valued({QStringLiteral("sizes")}, "N");
    valued({QStringLiteral("layers")}, "N");
    valued({QStringLiteral("sections")}, "N");
    valued({QStringLiteral("precision")}, "N");
    parser.addOption(QCommandLineOption(QStringLiteral("different")));
    valued({QStringLiteral("skip-colour")}, "RRGGBB");
    valued({QStringLiteral("skip-range")}, "N");
    valued({QStringLiteral("seed")}, "N");
    parser.addOption(QCommandLineOption(QStringLiteral("show-background")));
    parser.addOption(QCommandLineOption(QStringLiteral("hide-background")));
    parser.addOption(QCommandLineOption(QStringLiteral("adjust-colours")));
    parser.addOption(QCommandLineOption(QStringLiteral("mosaic-background")));
    valued({QStringLiteral("brightness")}, "L");
    valued({QStringLiteral("frames")}, "W,STYLE,COLOUR");
    valued({QStringLiteral("o"), QStringLiteral("output")}, "OUT.tsd");
    valued({QStringLiteral("export")}, "OUT");
    valued({QStringLiteral("export-zoom")}, "Z");
    AddExportOptions(parser);
}

}  // namespace

int MosaicCommand(const QStringList& args) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    AddOptions(parser);
    if (!parser.parse(QStringList{QStringLiteral("mosaic")} + args)) {
        return UsageError(parser.errorText());
    }
    if (parser.isSet(QStringLiteral("help"))) {
        Print(QString::fromUtf8(kMosaicHelp));
        Print(QString::fromUtf8(kExportOptionsHelp));
        Print(QString::fromUtf8(kMosaicHelpDisplay));
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return UsageError(QStringLiteral("unexpected argument '%1'")
                              .arg(parser.positionalArguments().front()));
    }
    MosaicJob job;
    job.background = parser.value(QStringLiteral("background"));
    job.tiles = parser.value(QStringLiteral("tiles"));
    job.document = parser.value(QStringLiteral("output"));
    job.exportImage = parser.value(QStringLiteral("export"));
    if (job.background.isEmpty()) return UsageError(QStringLiteral("--background is required"));
    if (job.tiles.isEmpty()) return UsageError(QStringLiteral("--tiles is required"));
    if (job.document.isEmpty() && job.exportImage.isEmpty()) {
        return UsageError(QStringLiteral("nothing to write: give -o OUT.tsd, --export OUT or both"));
    }

    Document doc;
    if (!doc.ResetDocument()) return Fail(QStringLiteral("no memory for the document"));
    std::optional<BadValue> bad;
    if (!ReadOptions(parser, doc.State(), job, bad)) return Fail(bad->message);

    // The outputs are checked first, so that a long run never ends in a
    // file that cannot be written.
    if (!job.document.isEmpty()) {
        if (!job.document.endsWith(QStringLiteral(".tsd"), Qt::CaseInsensitive)) {
            return Fail(QStringLiteral("-o needs a .tsd file name, not %1").arg(job.document));
        }
        if (const auto reason = UnwritableReason(job.document)) return Fail(*reason);
    }
    if (!job.exportImage.isEmpty()) {
        QString error;
        const auto format = ReadExportFormat(parser, job.exportImage, error);
        if (!format) return Fail(QStringLiteral("--export %1").arg(error));
        job.exportFormat = *format;
        const auto zoom = ReadPosterScale(parser, QStringLiteral("export-zoom"), error);
        if (!zoom) return Fail(error);
        job.exportZoom = *zoom;
        if (const auto reason = UnwritableReason(job.exportImage)) return Fail(*reason);
    }

    if (const int failed = SetBackground(doc, job.background)) return failed;
    const auto entries = TileEntries(job.tiles);
    if (!entries) return 1;
    if (const int failed = AddTiles(doc, *entries, job)) return failed;

    ArrangementStats stats;
    QElapsedTimer timer;
    timer.start();
    if (!Rearrange(doc, job.seed, &stats)) return Fail(QStringLiteral("the arrangement did not run"));
    const qint64 elapsed = timer.elapsed();

    if (!job.document.isEmpty()) {
        if (const int failed = WriteDocument(doc, job.document)) return failed;
    }
    if (!job.exportImage.isEmpty()) {
        if (const int failed = ExportCanvas(doc, job)) return failed;
    }
    Print(QStringLiteral("time: %1 ms\narea: %2\nunplaced: %3\n")
              .arg(elapsed)
              .arg(FormatAreaRatio(stats.areaRatio), FormatUnplaced(stats.unplacedCount)));
    return 0;
}

}  // namespace tessaly
