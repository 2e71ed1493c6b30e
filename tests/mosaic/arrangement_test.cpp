// The arrangement engine against the plain transcription kept beside the
// tests: over many random configurations every field of every record, every
// order mark and the statistics must come out the same.
#include "mosaic/arrangement.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <limits>
#include <vector>

#include "edits/rearrange_nodes.h"
#include "document/edited_document.h"
#include "image/image_blob.h"
#include "mosaic/arrangement_reference.h"
#include "resources/string_table.h"
#include "services/random_generator.h"
#include "support/message_recorder.h"
#include "support/status_recorder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

using namespace tessaly;

namespace {

// A background with colour regions, gradients and a white margin.
QImage Surface(int width, int height, int variant) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const bool margin = x < width / 10 || y > height * 9 / 10;
            line[x] = margin ? qRgb(255, 255, 255)
                             : qRgb((x * 255 / width + variant * 40) & 0xFF,
                                    (y * 255 / height) & 0xFF, ((x / 23 + y / 17) * 37) & 0xFF);
        }
    }
    return image;
}

std::vector<NodeRecord> RandomNodes(CrtRandom& random, int count) {
    std::vector<NodeRecord> nodes(static_cast<std::size_t>(count));
    for (NodeRecord& node : nodes) {
        node = NodeRecord{};
        // Some nodes share their colours exactly, so ties happen.
        const int base = random.Next() % 4 == 0 ? 128 : random.Next() % 256;
        for (int k = 0; k < kMaxSections; ++k) {
            node.avgRed[k] = static_cast<std::uint8_t>((base + random.Next() % 30) % 256);
            node.avgGreen[k] = static_cast<std::uint8_t>((base * 3 + random.Next() % 30) % 256);
            node.avgBlue[k] = static_cast<std::uint8_t>((255 - base + random.Next() % 30) % 256);
        }
        node.centerX = random.Next() % 400;
        node.centerY = random.Next() % 400;
        node.halfWidth = 5 + random.Next() % 30;
        node.halfHeight = 5 + random.Next() % 30;
        node.visible = random.Next() % 2;
        node.cellColor = random.Next();
    }
    return nodes;
}

ArrangementSettings RandomSettings(CrtRandom& random, int type) {
    constexpr int kSections[] = {1, 4, 9, 16, 25};
    ArrangementSettings s;
    s.canvasWidth = 500 + random.Next() % 1000;
    s.canvasHeight = 500 + random.Next() % 1000;
    s.mosaicType = type;
    s.gridColumns = 20 + random.Next() % 41;
    s.gridRows = 20 + random.Next() % 41;
    s.sizeSteps = 1 + random.Next() % 6;
    s.layerThickness = 1 + random.Next() % 4;
    s.sectionCount = kSections[random.Next() % 5];
    s.comparePrecision = 1 + random.Next() % 25;
    s.differentColors = random.Next() % 4 == 0;
    s.skipNoSetColor = random.Next() % 2 == 0;
    s.noSetColor = random.Next() % 3 == 0 ? MakeColorRef(255, 255, 255)
                                          : MakeColorRef(random.Next() % 256, 128, 40);
    s.noSetRange = random.Next() % 30;
    return s;
}

struct Run {
    std::vector<NodeRecord> records;
    std::vector<NodeMark> marks;
    ArrangementStats stats;
};

// One run by the engine or by the reference, on a copy of `nodes`.
Run RunWith(const ArrangementSettings& settings, const QImage& surface,
            const std::vector<NodeRecord>& nodes, std::uint32_t seed, bool engine) {
    Run run;
    run.records = nodes;
    run.marks.assign(nodes.size(), NodeMark{1, -1});
    run.stats =
        engine ? ArrangeNodes(settings, surface, run.records, run.marks, seed)
               : reference::ArrangeNodesReference(settings, surface, run.records, run.marks, seed);
    return run;
}

void ExpectSameRun(const ArrangementSettings& settings, const QImage& surface,
                   const std::vector<NodeRecord>& nodes, std::uint32_t seed) {
    const Run engine = RunWith(settings, surface, nodes, seed, true);
    const Run reference = RunWith(settings, surface, nodes, seed, false);
    const std::string where = "type " + std::to_string(settings.mosaicType) + ", N " +
                              std::to_string(settings.sectionCount) + ", P " +
                              std::to_string(settings.comparePrecision) + ", nodes " +
                              std::to_string(nodes.size()) + ", seed " + std::to_string(seed);
    ASSERT_EQ(engine.stats.placedCount, reference.stats.placedCount) << where;
    EXPECT_EQ(engine.stats.unplacedCount, reference.stats.unplacedCount) << where;
    EXPECT_EQ(engine.stats.placedArea, reference.stats.placedArea) << where;
    EXPECT_EQ(engine.stats.areaRatio, reference.stats.areaRatio) << where;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        ASSERT_EQ(std::memcmp(&engine.records[i], &reference.records[i], sizeof(NodeRecord)), 0)
            << where << ", record " << i;
        ASSERT_EQ(engine.marks[i].order, reference.marks[i].order) << where << ", mark " << i;
        ASSERT_EQ(engine.marks[i].selected, reference.marks[i].selected) << where << ", mark " << i;
    }
}

}  // namespace

TEST(ArrangementEngineTest, MatchesTheReferenceOnRandomConfigurations) {
    CrtRandom random(2026);
    for (int round = 0; round < 6; ++round) {
        for (int type = 1; type <= 7; ++type) {
            const ArrangementSettings settings = RandomSettings(random, type);
            const QImage surface = Surface(settings.canvasWidth, settings.canvasHeight, round);
            const int count = round == 0 ? 0 : random.Next() % (round < 3 ? 40 : 400);
            const std::vector<NodeRecord> nodes = RandomNodes(random, count);
            ExpectSameRun(settings, surface, nodes, static_cast<std::uint32_t>(random.Next()));
            if (HasFatalFailure()) return;
        }
    }
}

TEST(ArrangementEngineTest, MatchesTheReferenceOnLargeCanvasesAndFullTables) {
    CrtRandom random(9000);
    const std::vector<NodeRecord> nodes = RandomNodes(random, kMaxNodes);
    const QImage surface = Surface(5000, 5000, 3);
    ArrangementSettings grid;
    grid.canvasWidth = grid.canvasHeight = 5000;
    grid.gridColumns = grid.gridRows = 120;
    grid.sizeSteps = 2;
    grid.sectionCount = 4;
    grid.comparePrecision = 25;
    ExpectSameRun(grid, surface, nodes, 11);
    grid.comparePrecision = 2;
    ExpectSameRun(grid, surface, nodes, 12);

    ArrangementSettings rings = grid;
    rings.mosaicType = 6;
    rings.sizeSteps = 6;
    rings.layerThickness = 3;
    rings.sectionCount = 9;
    rings.comparePrecision = 13;
    ExpectSameRun(rings, surface, nodes, 13);
}

TEST(ArrangementEngineTest, ShuffleMatchesTheReference) {
    for (const int n : {0, 1, 2, 7, 1000, 40000}) {
        std::vector<std::int32_t> engine(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            engine[static_cast<std::size_t>(i)] = i;
        std::vector<std::int32_t> reference = engine;
        ShuffleIndices(engine, 99);
        reference::ShuffleIndicesReference(reference, 99);
        EXPECT_EQ(engine, reference) << n;
    }
}

TEST(ArrangementEngineTest, RearrangeNeedsABackgroundAndIsOneUndoableEdit) {
    test::ScopedTempDir temp;
    test::MessageRecorder messages;
    test::StatusRecorder status;
    EditedDocument edited;
    Document& doc = edited.Doc();
    ASSERT_TRUE(doc.ResetDocument());
    doc.State().nodeCount = 3;
    for (int i = 0; i < 3; ++i) {
        doc.Node(i) = NodeRecord{};
        doc.Node(i).visible = 1;
        doc.Mark(i).selected = 1;
    }
    EXPECT_FALSE(RearrangeNodes(edited, 1));
    EXPECT_EQ(messages.Texts(), std::vector<QString>{LoadString(kMsgNoBackgroundImage)});
    EXPECT_EQ(doc.Mark(0).selected, 1);  // nothing changed
    EXPECT_EQ(edited.UndoCount(), 0);

    doc.State().backPicture =
        doc.Pictures().Adopt(*ImageBlob::FromEncoded(test::JpegBytes(40, 40)));
    ArrangementStats stats;
    ASSERT_TRUE(RearrangeNodes(edited, 1, &stats));
    EXPECT_EQ(stats.placedCount + stats.unplacedCount, 3);
    // The progress ran over the nodes and went back to 0; the panes were redone.
    EXPECT_EQ(status.Range(), std::make_pair(0, 3));
    ASSERT_FALSE(status.ProgressValues().empty());
    EXPECT_EQ(status.ProgressValues().back(), 0);
    EXPECT_EQ(status.Pane(StatusPane::kObject), u"3"_qs);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(doc.Mark(i).selected, 0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(edited.UndoCount(), 1);
}

TEST(ArrangementEngineTest, StatisticsTexts) {
    EXPECT_EQ(FormatUnplaced(1234), u"1,234 個"_qs);
    EXPECT_EQ(FormatAreaRatio(87.46f), u"87.5%"_qs);
    EXPECT_EQ(FormatAreaRatio(100.4f), u"100.0%"_qs);
}

TEST(ArrangementEngineTest, SettingsThatCannotBeLaidLeaveEveryNodeHidden) {
    // Values no console stores, as a damaged document could hold them: the
    // run neither allocates a huge grid nor loops through absurd sizes.
    CrtRandom random(4);
    const std::vector<NodeRecord> nodes = RandomNodes(random, 30);
    const QImage surface = Surface(600, 600, 1);
    auto expectHidden = [&](ArrangementSettings s, const char* what) {
        std::vector<NodeRecord> records = nodes;
        std::vector<NodeMark> marks(records.size());
        const ArrangementStats stats = ArrangeNodes(s, surface, records, marks, 5);
        EXPECT_EQ(stats.placedCount, 0) << what;
        EXPECT_EQ(stats.unplacedCount, 30) << what;
        EXPECT_EQ(stats.areaRatio, 0.0f) << what;
    };
    ArrangementSettings s;
    s.canvasWidth = s.canvasHeight = 600;
    s.gridColumns = kMaxArrangedGridSide + 1;
    s.gridRows = 1 << 20;
    expectHidden(s, "huge grid");
    s = ArrangementSettings{};
    s.canvasWidth = std::numeric_limits<int>::max();
    expectHidden(s, "huge canvas");
    s = ArrangementSettings{};
    s.mosaicType = 6;
    s.sizeSteps = std::numeric_limits<int>::max();
    expectHidden(s, "endless sizes");
    s.sizeSteps = 3;
    s.layerThickness = std::numeric_limits<int>::max();
    expectHidden(s, "endless layers");

    // Extreme precisions and sizes are read, not overflowed: beyond 25 every
    // image is a candidate, and a grid has no sizes beyond its sides.
    s = ArrangementSettings{};
    s.canvasWidth = s.canvasHeight = 600;
    s.sizeSteps = std::numeric_limits<int>::max();
    s.comparePrecision = std::numeric_limits<int>::max();
    ArrangementSettings same = s;
    same.sizeSteps = 20;
    same.comparePrecision = 25;
    const ::Run extreme = RunWith(s, surface, nodes, 6, true);
    const ::Run reference = RunWith(same, surface, nodes, 6, false);
    EXPECT_GT(extreme.stats.placedCount, 0);
    EXPECT_EQ(extreme.stats.placedCount, reference.stats.placedCount);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        EXPECT_EQ(std::memcmp(&extreme.records[i], &reference.records[i], sizeof(NodeRecord)), 0)
            << i;
    }
    s.comparePrecision = std::numeric_limits<int>::min();
    expectHidden(s, "no tolerance at all");
}
