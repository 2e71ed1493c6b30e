#pragma once

#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>
#include <memory>

#include "document/document.h"

namespace tessaly::bench {

// The number of nodes a benchmark document holds: all 9000, or fewer when
// TESSALY_BENCH_NODES asks (quick smoke runs).
inline int BenchNodeCount() {
    return qEnvironmentVariableIsSet("TESSALY_BENCH_NODES")
               ? qBound(1, qEnvironmentVariableIntValue("TESSALY_BENCH_NODES"), kMaxNodes)
               : kMaxNodes;
}

// The side of the benchmark canvas: the largest there is.
inline constexpr int kBenchCanvasSize = 5000;

// The canvas side for benchmarks whose cost grows with the canvas: the
// largest, or a smaller one when TESSALY_BENCH_CANVAS asks (smoke runs).
inline int BenchCanvasSide() {
    return qEnvironmentVariableIsSet("TESSALY_BENCH_CANVAS")
               ? qBound(500, qEnvironmentVariableIntValue("TESSALY_BENCH_CANVAS"), kBenchCanvasSize)
               : kBenchCanvasSize;
}

// Makes `doc` an empty document on the largest canvas, its tables
// allocated; false when they cannot be.
inline bool PrepareBenchDocument(Document& doc) {
    if (!doc.AllocateNodeTables()) return false;
    doc.State().canvasWidth = kBenchCanvasSize;
    doc.State().canvasHeight = kBenchCanvasSize;
    return true;
}

// An empty document on the largest canvas; null when its tables cannot be
// allocated.
inline std::unique_ptr<Document> MakeBenchDocument() {
    auto doc = std::make_unique<Document>();
    return PrepareBenchDocument(*doc) ? std::move(doc) : nullptr;
}

// JPEG files of 640 x 480 with varied content, made once for the whole run:
// 1000, or as many as TESSALY_BENCH_FILES asks.
class JpegFolder {
public:
    static const JpegFolder& Get() {
        static const JpegFolder folder;
        return folder;
    }

    const QStringList& Paths() const { return paths_; }

private:
    JpegFolder() {
        const int count = qEnvironmentVariableIsSet("TESSALY_BENCH_FILES")
                              ? qEnvironmentVariableIntValue("TESSALY_BENCH_FILES")
                              : 1000;
        for (int i = 0; i < count; ++i) {
            QImage image(640, 480, QImage::Format_RGB32);
            for (int y = 0; y < 480; ++y) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < 640; ++x) {
                    line[x] = qRgb((x + i) % 256, (y * 2 + i) % 256, (x ^ y) % 256);
                }
            }
            const QString path = QDir(dir_.path()).filePath(QStringLiteral("tile%1.jpg").arg(i));
            QImageWriter writer(path, "jpeg");
            writer.setQuality(85);
            writer.write(image);
            paths_.append(path);
        }
    }

    QTemporaryDir dir_;
    QStringList paths_;
};

}  // namespace tessaly::bench
