#include "mosaic/tile_batch.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRandomGenerator>
#include <functional>

#include "resources/string_table.h"
#include "support/file_limit.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

using namespace tessaly;

namespace {

class TileBatchTest : public ::testing::Test {
protected:
    // A fresh folder of the temporary one.
    QString Folder(const QString& name) {
        const QString path = QDir(temp_.Path()).filePath(name);
        EXPECT_TRUE(QDir().mkpath(path));
        return path;
    }

    QString InChildWithFileLimit(rlim_t limit, bool killed, const std::function<QString()>& work) {
        return test::InChildWithFileLimit(temp_.Path(), limit, killed, work);
    }

    // Sources whose PNG tiles of 100 x 100 take a few hundred bytes (one
    // colour) or tens of kilobytes (noise, which does not compress).
    ImageEntry Source(const QString& name, bool small) {
        QImage image = test::Filled(100, 100, qRgb(10, 200, 30));
        QRandomGenerator noise(7);
        for (int y = 0; y < 100 && !small; ++y) {
            for (int x = 0; x < 100; ++x) image.setPixel(x, y, noise.generate() | 0xFF000000u);
        }
        return {test::WriteFile(Folder(u"sources"_qs), name, test::PngBytes(image)), u"png"_qs};
    }

    static constexpr rlim_t kFileLimit = 4096;

    test::ScopedTempDir temp_;
    test::MessageRecorder messages_;
};

TEST_F(TileBatchTest, TheMethodDecidesWhichSideFollowsTheAspectRatio) {
    struct Row {
        QSize source;
        ShrinkMethod method;
        QSize expected;
    };
    const QSize entered(100, 100);
    const Row rows[] = {
        {{400, 300}, ShrinkMethod::EnteredSize, {100, 100}},
        {{400, 300}, ShrinkMethod::HeightKeepsAspect, {133, 100}},
        {{400, 300}, ShrinkMethod::WidthKeepsAspect, {100, 75}},
        {{3000, 1}, ShrinkMethod::WidthKeepsAspect, {100, 1}},  // never 0 high
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ShrunkSize(row.source, entered, row.method), row.expected)
            << static_cast<int>(row.method);
    }
}

TEST_F(TileBatchTest, AFileIsListedOnceWhateverItsCaseAndFoldersAreSkipped) {
    const QString photos = Folder(u"photos"_qs);
    test::WriteFile(photos, u"a.jpg"_qs, test::JpegBytes(8, 8));
    test::WriteFile(photos, u"b.PNG"_qs, test::PngBytes(test::Gradient(8, 8)));
    test::WriteFile(photos, u"notes.txt"_qs, "text");
    const QString loose = test::WriteFile(temp_.Path(), u"c.jpeg"_qs, test::JpegBytes(8, 8));
    const QString a = QDir(photos).filePath(u"a.jpg"_qs);
    const QString b = QDir(photos).filePath(u"b.PNG"_qs);
    const QString upper = QDir(photos).filePath(u"A.JPG"_qs);

    struct Row {
        const char* what;
        QStringList listed;
        QStringList dropped;
        int added;
    };
    const Row rows[] = {
        {"a folder and two images", {}, {photos, loose, a}, 2},
        {"a folder alone", {}, {photos}, 0},
        {"the same file in another case", {upper}, {a, b}, 1},
        {"twice in one drop", {}, {loose, loose.toUpper(), loose}, 1},
    };
    for (const Row& row : rows) {
        const CollectedEntries dropped = DroppedImages(row.dropped);
        EXPECT_EQ(NewListEntries(row.listed, dropped.entries).size(), std::size_t(row.added))
            << row.what;
    }

    QStringList full;
    for (int i = 0; i < kMaxListedImages - 1; ++i) full << u"/x/%1.jpg"_qs.arg(i);
    EXPECT_EQ(NewListEntries(full, DroppedImages({loose, a}).entries).size(), 1u);
}

TEST_F(TileBatchTest, SequenceNumbersFollowTheLargestNumberInTheFolder) {
    const QString folder = Folder(u"Images"_qs);
    EXPECT_EQ(NextSequenceNumber(folder), 1);
    test::WriteFile(folder, u"000007.jpeg"_qs, "x");
    test::WriteFile(folder, u"readme.txt"_qs, "x");
    Folder(u"Images/000099"_qs);  // a folder does not count
    EXPECT_EQ(NextSequenceNumber(folder), 8);
    EXPECT_EQ(SequenceName(8), u"000008"_qs);
    EXPECT_EQ(SourceBaseName(u"/p/photo.v2.JPG"_qs), u"photo.v2"_qs);
    EXPECT_EQ(SourceBaseName(u"/p.d/photo"_qs), QString());
}

TEST_F(TileBatchTest, TilesTakeAFreeNameAndTheirTypeAndNeverReplaceAFile) {
    const QString sources = Folder(u"sources"_qs);
    const ImageEntry photo{test::WriteFile(sources, u"photo.png"_qs,
                                           test::PngBytes(test::Gradient(400, 300))),
                           u"png"_qs};
    const ImageEntry anim{test::WriteFile(sources, u"anim.gif"_qs,
                                          test::TwoFrameGif(400, 300, Qt::red, Qt::blue)),
                          u"gif"_qs};
    struct Row {
        const char* what;
        TileNaming naming;
        int fileType;
        QStringList existing;
        ImageEntry source;
        int candidates;
        QString written;  // empty: nothing written
        QByteArray format;
    };
    const auto numbers = TileNaming::SequenceNumbers;
    const auto names = TileNaming::SourceNames;
    const int all = kMaxTileNameCandidates;
    const Row rows[] = {
        {"after 000007", numbers, 1, {u"000007.jpeg"_qs, u"a.txt"_qs}, photo, all,
         u"000008.jpeg"_qs, "jpeg"},
        {"name taken", names, 1, {u"photo.jpeg"_qs}, photo, all, u"photo(1).jpeg"_qs, "jpeg"},
        {"two names taken", names, 1, {u"photo.jpeg"_qs, u"photo(1).jpeg"_qs}, photo, all,
         u"photo(2).jpeg"_qs, "jpeg"},
        {"source type kept", names, 0, {}, anim, all, u"anim.gif"_qs, "gif"},
        {"PNG chosen", names, 4, {}, anim, all, u"anim.png"_qs, "png"},
        {"every name taken", names, 0, {u"anim.gif"_qs, u"anim(1).gif"_qs}, anim, 2, {}, {}},
    };
    TileBatchSettings settings;
    settings.method = ShrinkMethod::HeightKeepsAspect;
    int folderNumber = 0;
    for (const Row& row : rows) {
        const QString folder = Folder(u"out%1"_qs.arg(++folderNumber));
        for (const QString& name : row.existing) test::WriteFile(folder, name, "old");
        settings.naming = row.naming;
        settings.fileType = row.fileType;
        std::vector<int> progress;
        const TileBatchResult result = CreateTileFiles(
            {row.source}, settings, folder, [&](int done) { progress.push_back(done); },
            row.candidates);

        const QString written = QDir(folder).filePath(row.written);
        EXPECT_EQ(result.written, row.written.isEmpty() ? 0 : 1) << row.what;
        EXPECT_EQ(result.lastWritten, row.written.isEmpty() ? QString() : written) << row.what;
        EXPECT_EQ(result.withoutFreeName,
                  row.written.isEmpty() ? QStringList{row.source.path} : QStringList{})
            << row.what;
        EXPECT_EQ(progress, std::vector<int>{1}) << row.what;
        // No partial tile is left beside them.
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(),
                  row.existing.size() + (row.written.isEmpty() ? 0 : 1))
            << row.what;
        for (const QString& name : row.existing)
            EXPECT_EQ(test::ReadFile(QDir(folder).filePath(name)), "old") << row.what;
        if (row.written.isEmpty()) continue;
        QImageReader reader(written);
        reader.setDecideFormatFromContent(true);
        EXPECT_EQ(reader.format(), row.format) << row.what;
        EXPECT_EQ(reader.size(), QSize(133, 100)) << row.what;
    }
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(TileBatchTest, WorkersKeepTheRowsOrderAndUnreadableRowsTakeNoNumber) {
    std::vector<ImageEntry> rows;
    std::vector<QRgb> colours;  // of the readable rows, in order
    for (int i = 0; i < 12; ++i) {
        // JPEGs of one colour each, decoded reduced; rows 2 and 7 unreadable.
        const QRgb colour = qRgb(i * 20, 250 - i * 20, 90);
        QByteArray bytes("not a picture");
        if (i % 5 != 2) {
            bytes = test::JpegOf(test::Filled(160, 120, colour), 95);
            colours.push_back(colour);
        }
        rows.push_back({test::WriteFile(Folder(u"s"_qs), u"%1.jpg"_qs.arg(i), bytes), u"jpeg"_qs});
    }
    TileBatchSettings settings{40, 30, ShrinkMethod::EnteredSize, TileNaming::SequenceNumbers, 4};
    const QString folder = Folder(u"Images"_qs);
    std::vector<int> progress;
    CreateTileFiles(rows, settings, folder, [&](int done) { progress.push_back(done); },
                    kMaxTileNameCandidates, 2);
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    const QStringList written = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(written.size(), 10);
    for (int n = 0; n < 10; ++n) {
        EXPECT_EQ(written[n], SequenceName(n + 1) + u".png"_qs);
        const QImage tile(QDir(folder).filePath(written[n]));
        EXPECT_EQ(tile.size(), QSize(40, 30));
        EXPECT_LE(std::abs(qRed(tile.pixel(20, 15)) - qRed(colours[n])), 3) << n;
        EXPECT_LE(std::abs(qGreen(tile.pixel(20, 15)) - qGreen(colours[n])), 3) << n;
    }
}

TEST_F(TileBatchTest, WriteFailuresAreCountedReportedAndStopTheBatch) {
    // Three tiles fit, then every one is too large: as when the disk fills up.
    std::vector<ImageEntry> rows;
    for (int i = 0; i < 18; ++i) rows.push_back(Source(u"s%1.png"_qs.arg(i), i < 3));
    const QString folder = Folder(u"Images"_qs);
    TileBatchSettings settings;
    settings.fileType = 4;
    const QString seen = InChildWithFileLimit(kFileLimit, false, [&] {
        const TileBatchResult result = CreateTileFiles(rows, settings, folder);
        const bool success = ReportTileBatch(nullptr, result);
        const std::vector<QString> shown = messages_.Texts();
        return u"%1 %2 %3 %4 %5|"_qs.arg(result.rows).arg(result.written).arg(result.failed)
                   .arg(result.notTried).arg(success) +
               QStringList(shown.begin(), shown.end()).join(u'|');
    });
    if (seen.isEmpty()) GTEST_SKIP() << "no file size limit here";
    EXPECT_EQ(seen, u"18 3 10 5 0|"_qs + u"作成できなかったイメージ : 15 個 (18 個中)\n"
                    u"書き込みの失敗が続いたため、残りの 5 個は作成していません\n"_qs +
                        LoadString(kMsgTileWriteFailed));
    // What was written is whole; nothing of the failed tiles is left.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              (QStringList{u"000001.png"_qs, u"000002.png"_qs, u"000003.png"_qs}));
}

TEST_F(TileBatchTest, AnInterruptedBatchLeavesNoTileAndTheNextNumbersOnCorrectly) {
    const QString folder = Folder(u"Images"_qs);
    test::WriteFile(folder, u"000002.png"_qs, test::PngBytes(test::Gradient(8, 8)));
    // Left by a batch that stopped long ago; one still being written is fresh.
    const QString stale = test::WriteFile(folder, kPartialTilePrefix.toString() + u"old000"_qs, "x");
    QFile file(stale);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-7200),
                                 QFileDevice::FileModificationTime));
    file.close();
    const QString fresh = test::WriteFile(folder, kPartialTilePrefix.toString() + u"new000"_qs, "");
    const std::vector<ImageEntry> rows{Source(u"photo.png"_qs, false)};
    TileBatchSettings settings;
    settings.fileType = 4;

    const QString seen = InChildWithFileLimit(kFileLimit, true, [&] {
        CreateTileFiles(rows, settings, folder);
        return u"not stopped"_qs;
    });
    if (seen.isEmpty()) GTEST_SKIP() << "no file size limit here";
    ASSERT_EQ(seen, u"killed"_qs);

    const TileBatchResult result = CreateTileFiles(rows, settings, folder);
    EXPECT_EQ(result.written, 1);
    EXPECT_EQ(result.lastWritten, QDir(folder).filePath(u"000003.png"_qs));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), (QStringList{u"000002.png"_qs, u"000003.png"_qs}));
    EXPECT_EQ(QImageReader(result.lastWritten).size(), QSize(100, 100));
    EXPECT_FALSE(QFileInfo::exists(stale));
    EXPECT_TRUE(QFileInfo::exists(fresh));
}

}  // namespace
