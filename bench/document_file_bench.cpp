// Saving, opening and snapshotting a full document: 9000 nodes over a
// 5000 x 5000 canvas, each with its own JPEG of 2 to 4 KB. Each measurement
// has a baseline in the same run that does only the unavoidable work on the
// same bytes:
//   save  against deflating the inner file with zlib and writing the result;
//   open  against reading that deflated file and inflating it (no parsing);
//   undo snapshot against writing the inner file's bytes with QFile.
// Opening must not decode any picture: the "decodes" counter stays 0.
// TESSALY_BENCH_NODES shrinks the document for quick runs.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <random>

#include "bench_support.h"
#include "document/document.h"
#include "document/document_file.h"
#include "document/document_io.h"
#include "document/undo_history.h"
#include "image/image_blob.h"
#include "image/image_files.h"
#include "services/settings.h"

namespace {

using namespace tessaly;

constexpr int kCanvasSize = bench::kBenchCanvasSize;
constexpr qsizetype kMinJpegBytes = 2 * 1024;
constexpr qsizetype kMaxJpegBytes = 4 * 1024;


// A small picture of its own for node `index`: 48 to 64 pixels a side, a
// gradient with a few blocks and some noise, all drawn from the index.
QImage TileImage(int index) {
    std::mt19937 random(static_cast<std::uint32_t>(index) * 2654435761u + 1);
    const int width = 48 + index % 17;
    const int height = 48 + (index / 17) % 17;
    QImage image(width, height, QImage::Format_RGB32);
    const int baseRed = int(random() % 256), baseGreen = int(random() % 256), baseBlue = int(random() % 256);
    const int noise = 24 + int(random() % 40);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int n = int(random() % unsigned(noise)) - noise / 2;
            line[x] = qRgb(qBound(0, baseRed + x * 2 + n, 255), qBound(0, baseGreen + y * 2 - n, 255),
                           qBound(0, baseBlue + (x ^ y) + n, 255));
        }
    }
    for (int block = 0; block < 4; ++block) {
        const int bx = int(random() % unsigned(width)), by = int(random() % unsigned(height));
        const QRgb colour = qRgb(int(random() % 256), int(random() % 256), int(random() % 256));
        for (int y = by; y < qMin(height, by + 12); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = bx; x < qMin(width, bx + 12); ++x) line[x] = colour;
        }
    }
    return image;
}

// The JPEG of TileImage(index), its quality chosen so the stream is 2 to 4 KB.
QByteArray TileJpeg(int index) {
    const QImage image = TileImage(index);
    int low = 5, high = 100;
    QByteArray best = EncodeJpeg(image, 75);
    while (low <= high) {
        const int quality = (low + high) / 2;
        QByteArray bytes = EncodeJpeg(image, quality);
        if (bytes.size() >= kMinJpegBytes && bytes.size() <= kMaxJpegBytes) return bytes;
        if (bytes.size() < kMinJpegBytes) {
            low = quality + 1;
        } else {
            high = quality - 1;
        }
        best = std::move(bytes);
    }
    return best;
}

QByteArray Deflate(const QByteArray& input) {
    z_stream stream{};
    if (deflateInit(&stream, Z_DEFAULT_COMPRESSION) != Z_OK) return {};
    QByteArray output(qsizetype(deflateBound(&stream, uLong(input.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.constData()));
    stream.avail_in = uInt(input.size());
    stream.next_out = reinterpret_cast<Bytef*>(output.data());
    stream.avail_out = uInt(output.size());
    const bool done = deflate(&stream, Z_FINISH) == Z_STREAM_END;
    output.resize(done ? qsizetype(stream.total_out) : 0);
    deflateEnd(&stream);
    return output;
}

QByteArray Inflate(const QByteArray& input, qsizetype size) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return {};
    QByteArray output(size, Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.constData()));
    stream.avail_in = uInt(input.size());
    stream.next_out = reinterpret_cast<Bytef*>(output.data());
    stream.avail_out = uInt(output.size());
    const bool done = inflate(&stream, Z_FINISH) == Z_STREAM_END;
    output.resize(done ? qsizetype(stream.total_out) : 0);
    inflateEnd(&stream);
    return output;
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() &&
           file.flush();
}

QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The document, its inner file, its saved .tsd and the deflated inner file,
// made once for the whole run. The system temporary folder (and so the
// working folder) and the settings file are moved into a folder of the run.
class BigDocument {
public:
    static BigDocument& Get() {
        static BigDocument document;
        return document;
    }

    Document& Doc() { return *doc_; }
    int NodeCount() const { return doc_->State().nodeCount; }
    const QByteArray& InnerBytes() const { return inner_; }
    QString PathOf(const QString& name) const { return QDir(dir_.path()).filePath(name); }
    QString SavedPath() const { return PathOf(QStringLiteral("opened.tsd")); }
    QString DeflatedPath() const { return PathOf(QStringLiteral("opened.z")); }
    bool Ready() const { return ready_; }

private:
    BigDocument() {
        qputenv("TMPDIR", QFile::encodeName(dir_.path()));
        UseSettingsFile(PathOf(QStringLiteral("settings.ini")));
        // Saving over the previous file must not copy it first: the baseline
        // keeps no backup either.
        WriteProfileInt(QStringLiteral("SYS"), QStringLiteral("MakeBackup"), 0);

        const int count = bench::BenchNodeCount();
        doc_ = bench::MakeBenchDocument();
        if (!doc_) return;
        DocState& state = doc_->State();

        std::mt19937 random(20240607u);
        int outOfRange = 0;
        for (int i = 0; i < count; ++i) {
            QByteArray jpeg = TileJpeg(i);
            if (jpeg.size() < kMinJpegBytes || jpeg.size() > kMaxJpegBytes) ++outOfRange;
            auto picture = ImageBlob::FromEncoded(std::move(jpeg));
            if (!picture) return;
            const QSize size = picture->PixelSize();
            NodeRecord& record = doc_->Node(i);
            record.halfWidth = size.width() / 2;
            record.halfHeight = size.height() / 2;
            record.centerX = record.halfWidth + int(random() % unsigned(kCanvasSize - size.width()));
            record.centerY = record.halfHeight + int(random() % unsigned(kCanvasSize - size.height()));
            record.picture = doc_->Pictures().Adopt(std::move(*picture));
            for (int s = 0; s < kMaxSections; ++s) {
                record.avgRed[s] = std::uint8_t(random());
                record.avgGreen[s] = std::uint8_t(random());
                record.avgBlue[s] = std::uint8_t(random());
            }
            record.cellColor = MakeColorRef(int(random() % 256), int(random() % 256), int(random() % 256));
            record.visible = 1;
        }
        state.nodeCount = count;
        if (outOfRange > 0) std::fprintf(stderr, "%d pictures outside 2-4 KB\n", outOfRange);

        QBuffer buffer(&inner_);
        if (!buffer.open(QIODevice::WriteOnly) || !WriteDocumentFile(buffer, *doc_, true)) return;
        buffer.close();
        if (!SaveDocument(*doc_, SavedPath())) return;
        ready_ = WriteWholeFile(DeflatedPath(), Deflate(inner_));
    }

    QTemporaryDir dir_;
    std::unique_ptr<Document> doc_;
    QByteArray inner_;
    bool ready_ = false;
};

void AddSizeCounters(benchmark::State& state, const BigDocument& fixture) {
    state.counters["nodes"] = fixture.NodeCount();
    state.counters["innerMB"] = double(fixture.InnerBytes().size()) / (1024.0 * 1024.0);
    state.SetBytesProcessed(state.iterations() * fixture.InnerBytes().size());
}

void BM_SaveDocument(benchmark::State& state) {
    BigDocument& fixture = BigDocument::Get();
    if (!fixture.Ready()) return state.SkipWithError("fixture not made");
    const QString path = fixture.PathOf(QStringLiteral("saved.tsd"));
    for (auto _ : state) {
        if (!SaveDocument(fixture.Doc(), path)) return state.SkipWithError("save failed");
    }
    AddSizeCounters(state, fixture);
    state.counters["fileMB"] = double(QFileInfo(path).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond);

void BM_SaveBaseline_Deflate(benchmark::State& state) {
    BigDocument& fixture = BigDocument::Get();
    if (!fixture.Ready()) return state.SkipWithError("fixture not made");
    const QString path = fixture.PathOf(QStringLiteral("saved.z"));
    for (auto _ : state) {
        const QByteArray deflated = Deflate(fixture.InnerBytes());
        if (deflated.isEmpty() || !WriteWholeFile(path, deflated)) return state.SkipWithError("write failed");
    }
    AddSizeCounters(state, fixture);
    state.counters["fileMB"] = double(QFileInfo(path).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_SaveBaseline_Deflate)->Unit(benchmark::kMillisecond);

void BM_OpenDocument(benchmark::State& state) {
    BigDocument& fixture = BigDocument::Get();
    if (!fixture.Ready()) return state.SkipWithError("fixture not made");
    const quint64 decodesBefore = PictureDecodeCount();
    std::unique_ptr<Document> doc;
    for (auto _ : state) {
        // A fresh document each time; making and dropping it is not measured.
        state.PauseTiming();
        doc.reset();
        doc = std::make_unique<Document>();
        state.ResumeTiming();
        if (!OpenDocument(*doc, fixture.SavedPath())) return state.SkipWithError("open failed");
        if (doc->State().nodeCount != fixture.NodeCount()) return state.SkipWithError("nodes lost");
    }
    AddSizeCounters(state, fixture);
    // Opening keeps the pictures encoded: nothing is decoded until drawn.
    state.counters["decodes"] = double(PictureDecodeCount() - decodesBefore);
}
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond);

void BM_OpenBaseline_Inflate(benchmark::State& state) {
    BigDocument& fixture = BigDocument::Get();
    if (!fixture.Ready()) return state.SkipWithError("fixture not made");
    const qsizetype size = fixture.InnerBytes().size();
    for (auto _ : state) {
        const QByteArray inner = Inflate(ReadWholeFile(fixture.DeflatedPath()), size);
        if (inner.size() != size) return state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(inner.constData());
    }
    AddSizeCounters(state, fixture);
}
BENCHMARK(BM_OpenBaseline_Inflate)->Unit(benchmark::kMillisecond);

void BM_UndoSnapshot(benchmark::State& state) {
    BigDocument& fixture = BigDocument::Get();
    if (!fixture.Ready()) return state.SkipWithError("fixture not made");
    UndoHistory history;
    for (auto _ : state) {
        history.RecordSnapshot(fixture.Doc());
        state.PauseTiming();
        if (history.UndoCount() != 1) return state.SkipWithError("no snapshot");
        for (const QString& file : history.UndoFiles()) QFile::remove(file);
        history.ResetHistory();
        state.ResumeTiming();
    }
    AddSizeCounters(state, fixture);
}
BENCHMARK(BM_UndoSnapshot)->Unit(benchmark::kMillisecond);

void BM_UndoBaseline_FileWrite(benchmark::State& state) {
    BigDocument& fixture = BigDocument::Get();
    if (!fixture.Ready()) return state.SkipWithError("fixture not made");
    const QString path = fixture.PathOf(QStringLiteral("snapshot.bin"));
    for (auto _ : state) {
        if (!WriteWholeFile(path, fixture.InnerBytes())) return state.SkipWithError("write failed");
        // A new file each time, as every snapshot is.
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
    }
    AddSizeCounters(state, fixture);
}
BENCHMARK(BM_UndoBaseline_FileWrite)->Unit(benchmark::kMillisecond);

}  // namespace
