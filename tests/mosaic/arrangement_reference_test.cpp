#include "mosaic/arrangement_reference.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <numeric>
#include <set>
#include <tuple>
#include <vector>

#include "support/test_images.h"

namespace tessaly {
namespace {

using test::Filled;

using reference::ArrangeNodesReference;
using reference::ShuffleIndicesReference;

void PaintRect(QImage& image, int x, int y, int width, int height, QRgb colour) {
    QPainter painter(&image);
    painter.fillRect(x, y, width, height, QColor::fromRgb(colour));
}

void SetAverages(NodeRecord& record, int red, int green, int blue) {
    std::fill(std::begin(record.avgRed), std::end(record.avgRed), std::uint8_t(red));
    std::fill(std::begin(record.avgGreen), std::end(record.avgGreen), std::uint8_t(green));
    std::fill(std::begin(record.avgBlue), std::end(record.avgBlue), std::uint8_t(blue));
}

// A node table whose nodes all differ in their section averages. Fields the
// run must not write carry recognisable values.
struct Table {
    std::vector<NodeRecord> records;
    std::vector<NodeMark> marks;

    explicit Table(int count) : records(std::size_t(count)), marks(std::size_t(count)) {
        for (int i = 0; i < count; ++i) {
            NodeRecord& r = records[std::size_t(i)];
            r = NodeRecord{};
            r.centerX = 7;
            r.centerY = 1000 + i;
            r.halfWidth = 11;
            r.halfHeight = 13;
            r.cellColor = 0x123456;
            r.visible = 1;
            r.padding = 0x5A;
            std::fill(std::begin(r.reserved), std::end(r.reserved), std::uint8_t(0xA5));
            for (int k = 0; k < kMaxSections; ++k) {
                r.avgRed[k] = std::uint8_t((i * 7 + k * 3) % 256);
                r.avgGreen[k] = std::uint8_t((i * 13 + k * 5) % 256);
                r.avgBlue[k] = std::uint8_t((i * 29 + k) % 256);
            }
            marks[std::size_t(i)] = {i % 3 == 0 ? 1 : 0, -5};
        }
    }

    ArrangementStats Arrange(const ArrangementSettings& settings, const QImage& surface,
                             std::uint32_t seed = 1) {
        return ArrangeNodesReference(settings, surface, records, marks, seed);
    }

    int Visible() const {
        return int(std::count_if(records.begin(), records.end(),
                                 [](const NodeRecord& r) { return r.visible == 1; }));
    }
    // Position of `node` in the shuffled order.
    int Rank(int node) const {
        for (std::size_t j = 0; j < marks.size(); ++j)
            if (marks[j].order == node) return int(j);
        return -1;
    }
};

// A placed image as the tests compare it: left, top, half width, half height.
using Cell = std::tuple<int, int, int, int>;

std::multiset<Cell> PlacedCells(const Table& table) {
    std::multiset<Cell> cells;
    for (const NodeRecord& r : table.records)
        if (r.visible == 1) cells.insert({r.Left(), r.Top(), r.halfWidth, r.halfHeight});
    return cells;
}

ArrangementSettings Settings(int type, int width = 1000, int height = 1000) {
    ArrangementSettings s;
    s.canvasWidth = width;
    s.canvasHeight = height;
    s.mosaicType = type;
    s.sizeSteps = 3;
    s.layerThickness = 1;
    s.sectionCount = 9;
    s.comparePrecision = 25;  // no per-section tolerance
    return s;
}

// One cell covering the whole canvas: a layered type with a single size.
ArrangementSettings OneCell(int width = 300, int height = 300) {
    ArrangementSettings s = Settings(2, width, height);
    s.sizeSteps = 1;
    return s;
}

// ----------------------------------------------------------------------------

TEST(ArrangementReferenceShuffle, FollowsTheRunTimeGeneratorPairByPair) {
    // The run-time generator from seed 1 yields 41, 18467, 6334, 26500, 19169,
    // 15724, 11478, 29358, ...; each pair modulo n names two entries to swap.
    std::vector<std::int32_t> three{0, 1, 2};
    ShuffleIndicesReference(three, 1);
    EXPECT_EQ(three, (std::vector<std::int32_t>{0, 2, 1}));

    std::vector<std::int32_t> four{0, 1, 2, 3};
    ShuffleIndicesReference(four, 1);
    EXPECT_EQ(four, (std::vector<std::int32_t>{3, 2, 0, 1}));

    std::vector<std::int32_t> one{42};
    ShuffleIndicesReference(one, 9);
    EXPECT_EQ(one, std::vector<std::int32_t>{42});
    ShuffleIndicesReference(std::span<std::int32_t>{}, 9);  // nothing to do
}

TEST(ArrangementReferenceShuffle, OnlyTheFirst32768EntriesMoveAndTheSeedFixesThePermutation) {
    std::vector<std::int32_t> first(40000);
    std::iota(first.begin(), first.end(), 0);
    std::vector<std::int32_t> second = first;
    std::vector<std::int32_t> other = first;
    ShuffleIndicesReference(first, 777);
    ShuffleIndicesReference(second, 777);
    ShuffleIndicesReference(other, 778);

    EXPECT_EQ(first, second);
    EXPECT_NE(first, other);
    int moved = 0;
    for (int i = 0; i < 40000; ++i) {
        if (i >= 32768) {
            ASSERT_EQ(first[std::size_t(i)], i) << "entry " << i;
        }
        if (first[std::size_t(i)] != i) ++moved;
    }
    EXPECT_GT(moved, 20000);
    std::vector<std::int32_t> sorted = first;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < 40000; ++i)
        ASSERT_EQ(sorted[std::size_t(i)], i);
}

TEST(ArrangementReferenceShuffle, TheRunWritesTheShuffleIntoTheMarksAndLeavesSelectionAlone) {
    Table table(40000);
    const ArrangementSettings s = OneCell();
    table.Arrange(s, Filled(300, 300, qRgb(90, 90, 90)), 31337);

    std::vector<std::int32_t> expected(40000);
    std::iota(expected.begin(), expected.end(), 0);
    ShuffleIndicesReference(expected, 31337);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(table.marks[i].order, expected[i]) << "mark " << i;
        ASSERT_EQ(table.marks[i].selected, i % 3 == 0 ? 1 : 0) << "mark " << i;
    }
}

// ----------------------------------------------------------------------------

TEST(ArrangementReferenceGrid, ThreeSizesOnA20By20GridFillTheCanvasExactly) {
    // u = 50: size 3 has 6 x 6 cells of 150 (at most 12), size 2 has 10 x 10
    // cells of 100 (at most 50), size 1 has 20 x 20 cells of 50. All cells
    // lie on the 50-pixel grid and every node fits, so size 3 places its 12,
    // each covering four size-2 cells, which leaves 52 free for the 50 of size
    // 2, and size 1 fills every 50-pixel square left.
    ArrangementSettings s = Settings(1);
    s.gridColumns = 20;
    s.gridRows = 20;
    for (const std::uint32_t seed : {1u, 2u, 12345u}) {
        Table table(1000);
        const ArrangementStats stats = table.Arrange(s, test::Gradient(1000, 1000), seed);

        int bySize[3] = {0, 0, 0};
        for (const NodeRecord& r : table.records) {
            if (r.visible != 1) continue;
            ASSERT_EQ(r.halfWidth, r.halfHeight);
            ASSERT_TRUE(r.halfWidth == 25 || r.halfWidth == 50 || r.halfWidth == 75)
                << r.halfWidth;
            ++bySize[r.halfWidth / 25 - 1];
        }
        EXPECT_EQ(bySize[2], 12) << "seed " << seed;
        EXPECT_EQ(bySize[1], 50) << "seed " << seed;
        EXPECT_EQ(bySize[0], 92) << "seed " << seed;
        EXPECT_EQ(stats.placedCount, 154);
        EXPECT_EQ(stats.unplacedCount, 1000 - 154);
        EXPECT_DOUBLE_EQ(stats.placedArea, 1000.0 * 1000.0);
        EXPECT_EQ(stats.areaRatio, 100.0f);

        // Every placed image keeps to the canvas and no two overlap.
        std::vector<const NodeRecord*> placed;
        for (const NodeRecord& r : table.records)
            if (r.visible == 1) placed.push_back(&r);
        for (std::size_t a = 0; a < placed.size(); ++a) {
            const NodeRecord& p = *placed[a];
            ASSERT_GE(p.Left(), 0);
            ASSERT_LE(p.Left() + p.Width(), 1000);
            for (std::size_t b = a + 1; b < placed.size(); ++b) {
                const NodeRecord& q = *placed[b];
                const bool apart = p.Left() + p.Width() <= q.Left() ||
                                   q.Left() + q.Width() <= p.Left() ||
                                   p.Top() + p.Height() <= q.Top() ||
                                   q.Top() + q.Height() <= p.Top();
                ASSERT_TRUE(apart);
            }
        }
    }
}

TEST(ArrangementReferenceGrid, SizesBeyondTheGridAndSizesWithNoQuotaPlaceNothing) {
    const QImage surface = test::Gradient(1000, 1000);
    ArrangementSettings s = Settings(1);
    s.gridColumns = 20;
    s.gridRows = 500;  // u = 50, v = 2

    // Sizes 21..30 have no whole column; size 20 has one column of 25 cells
    // and a quota of one: a 1000 x 40 cell.
    Table steps30(300);
    Table steps20(300);
    s.sizeSteps = 30;
    steps30.Arrange(s, surface, 5);
    s.sizeSteps = 20;
    steps20.Arrange(s, surface, 5);
    EXPECT_EQ(0, std::memcmp(steps30.records.data(), steps20.records.data(),
                             steps30.records.size() * sizeof(NodeRecord)));
    int widest = 0;
    for (const NodeRecord& r : steps30.records)
        if (r.visible == 1 && r.halfWidth == 500) {
            ++widest;
            EXPECT_EQ(r.halfHeight, 20);
        }
    EXPECT_EQ(widest, 1);

    // On a 20 x 20 grid sizes 7..20 get a quota of (columns * rows) / z = 0,
    // so they place nothing and the run equals one starting at size 6.
    s.gridRows = 20;
    Table from20(300);
    Table from6(300);
    s.sizeSteps = 20;
    from20.Arrange(s, surface, 9);
    s.sizeSteps = 6;
    from6.Arrange(s, surface, 9);
    EXPECT_EQ(0, std::memcmp(from20.records.data(), from6.records.data(),
                             from20.records.size() * sizeof(NodeRecord)));
    for (const NodeRecord& r : from20.records)
        if (r.visible == 1) {
            EXPECT_LE(r.halfWidth, 150);
        }
}

// ----------------------------------------------------------------------------

// Layered types: the cells a transposed layout would give, for types 4 and 5.
std::multiset<Cell> Transposed(const std::multiset<Cell>& cells) {
    std::multiset<Cell> out;
    for (const auto& [left, top, hw, hh] : cells)
        out.insert({top, left, hh, hw});
    return out;
}

TEST(ArrangementReferenceLayers, OneSizeOneThicknessIsASingleCellOverTheCanvas) {
    for (int type = 2; type <= 5; ++type) {
        ArrangementSettings s = Settings(type, 800, 600);
        s.sizeSteps = 1;
        Table table(50);
        const ArrangementStats stats = table.Arrange(s, test::Gradient(800, 600), 3);
        EXPECT_EQ(stats.placedCount, 1) << "type " << type;
        EXPECT_EQ(PlacedCells(table), (std::multiset<Cell>{{0, 0, 400, 300}})) << "type " << type;
        EXPECT_EQ(stats.unplacedCount, 49);
        EXPECT_EQ(stats.areaRatio, 100.0f);
    }
}

TEST(ArrangementReferenceLayers, ThreeSizesMakeThreeBandsFromTheStartingEdge) {
    // D = 6, u = 166.67: bands of 500, 333.33 and 166.67, the cells across a
    // band widened to fill it (2, 3 and 6 cells).
    const std::multiset<Cell> bottomUp{
        {0, 500, 250, 250},   {500, 500, 250, 250},                                 // 500
        {0, 167, 166, 166},   {333, 167, 166, 166}, {666, 167, 166, 166},           // 333
        {0, 0, 83, 83},       {166, 0, 83, 83},     {333, 0, 83, 83},               // 166
        {500, 0, 83, 83},     {666, 0, 83, 83},     {833, 0, 83, 83}};
    const std::multiset<Cell> topDown{
        {0, 0, 250, 250},     {500, 0, 250, 250},
        {0, 500, 166, 166},   {333, 500, 166, 166}, {666, 500, 166, 166},
        {0, 833, 83, 83},     {166, 833, 83, 83},   {333, 833, 83, 83},
        {500, 833, 83, 83},   {666, 833, 83, 83},   {833, 833, 83, 83}};
    const std::multiset<Cell> expected[] = {bottomUp, topDown, Transposed(bottomUp),
                                            Transposed(topDown)};

    for (int type = 2; type <= 5; ++type) {
        Table table(100);
        const ArrangementStats stats = table.Arrange(Settings(type), test::Gradient(1000, 1000));
        EXPECT_EQ(PlacedCells(table), expected[type - 2]) << "type " << type;
        EXPECT_EQ(stats.placedCount, 11);
        EXPECT_NEAR(stats.placedArea, 1e6, 1.0);
        EXPECT_LE(stats.areaRatio, 100.0f);
        EXPECT_NEAR(stats.areaRatio, 100.0f, 1e-3f);
    }
}

// ----------------------------------------------------------------------------

TEST(ArrangementReferenceRings, OutwardRingsGrowFromTheCentre) {
    // D = 12, u = 83.33: four 250 cells around the centre, then a 5 x 5 frame
    // of 166.67 cells, then the smallest size out to the canvas edge.
    Table table(200);
    table.Arrange(Settings(6), test::Gradient(1000, 1000));
    const std::multiset<Cell> placed = PlacedCells(table);

    std::multiset<Cell> inner, frame;
    int smallest = 0;
    for (const Cell& c : placed) {
        const int half = std::get<2>(c);
        if (half == 125) inner.insert(c);
        else if (half == 83) frame.insert(c);
        else {
            ++smallest;
            EXPECT_EQ(half, 41);
            // Outside the 84..916 frame.
            const int left = std::get<0>(c), top = std::get<1>(c);
            EXPECT_TRUE(left + 82 <= 84 || left >= 916 || top + 82 <= 84 || top >= 916)
                << left << "," << top;
        }
    }
    EXPECT_EQ(inner, (std::multiset<Cell>{{250, 250, 125, 125}, {500, 250, 125, 125},
                                          {250, 500, 125, 125}, {500, 500, 125, 125}}));
    std::multiset<Cell> expectedFrame;
    const int steps[] = {84, 250, 417, 584, 750};
    for (int x : steps)
        for (int y : steps)
            if (x == 84 || x == 750 || y == 84 || y == 750) expectedFrame.insert({x, y, 83, 83});
    EXPECT_EQ(frame, expectedFrame);
    EXPECT_GT(smallest, 0);
}

TEST(ArrangementReferenceRings, InwardRingsShrinkToASingleCentreCell) {
    Table table(200);
    const ArrangementStats stats = table.Arrange(Settings(7), test::Gradient(1000, 1000));

    std::multiset<Cell> expected;
    const int outer[] = {0, 250, 500, 750};
    for (int x : outer)
        for (int y : outer)
            if (x == 0 || x == 750 || y == 0 || y == 750) expected.insert({x, y, 125, 125});
    // Second ring: 250, 416, 583 along the top and left, 584 for the far sides.
    for (int x : {250, 416, 583}) {
        expected.insert({x, 250, 83, 83});
        expected.insert({x, 584, 83, 83});
    }
    expected.insert({250, 416, 83, 83});
    expected.insert({584, 416, 83, 83});
    expected.insert({416, 416, 83, 83});  // the centre
    EXPECT_EQ(PlacedCells(table), expected);
    EXPECT_EQ(stats.placedCount, 21);
}

// ----------------------------------------------------------------------------

TEST(ArrangementReferenceMatching, ToleranceComesFromThePrecision) {
    const QImage white = Filled(300, 300, qRgb(255, 255, 255));
    ArrangementSettings s = OneCell();

    // Precision 25 compares without a tolerance: a lone black node still
    // takes a white cell.
    {
        Table table(1);
        SetAverages(table.records[0], 0, 0, 0);
        s.comparePrecision = 25;
        EXPECT_EQ(table.Arrange(s, white).placedCount, 1);
        s.comparePrecision = 1;
        EXPECT_EQ(table.Arrange(s, white).placedCount, 0);
        EXPECT_EQ(table.records[0].visible, 0);
    }
    // Precision 1 allows 15 per section and channel, not 16, and one section
    // out of tolerance is enough to reject the node.
    {
        s.comparePrecision = 1;
        Table within(1);
        SetAverages(within.records[0], 240, 255, 255);
        EXPECT_EQ(within.Arrange(s, white).placedCount, 1);
        Table beyond(1);
        SetAverages(beyond.records[0], 255, 255, 255);
        beyond.records[0].avgBlue[8] = 239;
        EXPECT_EQ(beyond.Arrange(s, white).placedCount, 0);
    }
    // With one section the best starts at 255, so a node 255 away in a
    // channel never wins, not even alone.
    {
        s.comparePrecision = 25;
        s.sectionCount = 1;
        Table table(1);
        SetAverages(table.records[0], 0, 250, 250);
        EXPECT_EQ(table.Arrange(s, white).placedCount, 0);
        SetAverages(table.records[0], 1, 250, 250);
        EXPECT_EQ(table.Arrange(s, white).placedCount, 1);
    }
}

TEST(ArrangementReferenceMatching, TiesAndPartialWinsGoToTheEarlierNodeInTheShuffle) {
    const QImage grey = Filled(300, 300, qRgb(100, 100, 100));
    const ArrangementSettings s = OneCell();
    bool seenFirst = false, seenSecond = false;
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        // Nodes 3 and 7 are equally close; everything else is far off.
        Table tie(10);
        for (NodeRecord& r : tie.records)
            SetAverages(r, 200, 200, 200);
        SetAverages(tie.records[3], 110, 110, 110);
        SetAverages(tie.records[7], 110, 110, 110);
        tie.Arrange(s, grey, seed);
        const int winner = tie.Rank(3) < tie.Rank(7) ? 3 : 7;
        EXPECT_EQ(tie.records[std::size_t(winner)].visible, 1) << "seed " << seed;
        EXPECT_EQ(tie.Visible(), 1);
        (winner == 3 ? seenFirst : seenSecond) = true;

        // Node 5 is closer than node 2 in red and green only: it replaces
        // node 2 only by coming first. Node 8, closer in all three, wins
        // wherever it stands.
        Table partial(10);
        for (NodeRecord& r : partial.records)
            SetAverages(r, 200, 200, 200);
        SetAverages(partial.records[2], 110, 110, 110);
        SetAverages(partial.records[5], 105, 105, 110);
        partial.Arrange(s, grey, seed);
        const int partialWinner = partial.Rank(2) < partial.Rank(5) ? 2 : 5;
        EXPECT_EQ(partial.records[std::size_t(partialWinner)].visible, 1) << "seed " << seed;

        SetAverages(partial.records[8], 104, 104, 109);
        partial.Arrange(s, grey, seed);
        EXPECT_EQ(partial.records[8].visible, 1) << "seed " << seed;
        EXPECT_EQ(partial.Visible(), 1);
    }
    EXPECT_TRUE(seenFirst && seenSecond) << "the seeds should put either node first";
}

TEST(ArrangementReferenceMatching, DifferentColourModeTakesTheFarthestNodeThatDiffersEverywhere) {
    const QImage grey = Filled(300, 300, qRgb(100, 100, 100));
    ArrangementSettings s = OneCell();
    s.differentColors = true;

    Table table(3);
    SetAverages(table.records[0], 100, 250, 250);  // red matches the cell exactly
    SetAverages(table.records[1], 110, 110, 110);
    SetAverages(table.records[2], 150, 150, 150);

    // Alone, the node with an equal channel is never taken.
    EXPECT_EQ(ArrangeNodesReference(s, grey, std::span(table.records).first(1),
                                    std::span(table.marks).first(1), 1)
                  .placedCount,
              0);
    for (std::uint32_t seed = 1; seed <= 10; ++seed) {
        table.Arrange(s, grey, seed);
        EXPECT_EQ(table.records[0].visible, 0);
        EXPECT_EQ(table.records[2].visible, 1) << "seed " << seed;
    }
    // The tolerance still applies: 50 away is too far at precision 1.
    s.comparePrecision = 1;
    table.Arrange(s, grey, 4);
    EXPECT_EQ(table.records[1].visible, 1);
    EXPECT_EQ(table.Visible(), 1);
}

TEST(ArrangementReferenceMatching, CellColourIsTakenFromTheMiddleSection) {
    // A 300 x 300 canvas painted section by section for each grid side; the
    // cell colour comes from section 4 of 9, 5 of 16, 12 of 25 and 0 else.
    const struct {
        int sections;
        int middle;
    } cases[] = {{1, 0}, {4, 0}, {9, 4}, {16, 5}, {25, 12}};
    for (const auto& c : cases) {
        int side = 1;
        while ((side + 1) * (side + 1) <= c.sections)
            ++side;
        const int step = 300 / side;
        QImage surface = Filled(300, 300, qRgb(255, 255, 255));
        for (int k = 0; k < c.sections; ++k)
            PaintRect(surface, (k % side) * step, (k / side) * step, step, step,
                      qRgb(10 * k, 200 - 5 * k, 3 * k + 1));
        ArrangementSettings s = OneCell();
        s.sectionCount = c.sections;
        Table table(4);
        table.Arrange(s, surface);
        ASSERT_EQ(table.Visible(), 1) << c.sections;
        for (const NodeRecord& r : table.records)
            if (r.visible == 1) {
                EXPECT_EQ(r.cellColor, MakeColorRef(10 * c.middle, 200 - 5 * c.middle,
                                                    3 * c.middle + 1))
                    << c.sections << " sections";
            }
    }
}

// ----------------------------------------------------------------------------

// A 3 x 3 grid of 100-pixel cells; the cells placed are reported by their
// top-left corners.
std::set<std::pair<int, int>> FilledCells(const QImage& surface, ColorRef noSet, int range) {
    ArrangementSettings s = Settings(1, 300, 300);
    s.gridColumns = 3;
    s.gridRows = 3;
    s.sizeSteps = 1;
    s.skipNoSetColor = true;
    s.noSetColor = noSet;
    s.noSetRange = range;
    Table table(40);
    table.Arrange(s, surface, 8);
    std::set<std::pair<int, int>> corners;
    for (const NodeRecord& r : table.records)
        if (r.visible == 1) corners.insert({r.Left(), r.Top()});
    return corners;
}

TEST(ArrangementReferenceNoSet, CellsWithinRangeOfTheNoSetColourStayEmpty) {
    QImage surface = Filled(300, 300, qRgb(255, 255, 255));
    PaintRect(surface, 100, 100, 100, 100, qRgb(90, 90, 90));      // plainly set
    PaintRect(surface, 33, 33, 33, 33, qRgb(249, 255, 255));       // one section 6 off in red
    PaintRect(surface, 200, 0, 100, 100, qRgb(250, 250, 250));     // 5 off: still no-set
    PaintRect(surface, 0, 200, 100, 100, qRgb(255, 255, 249));     // 6 off in blue
    EXPECT_EQ(FilledCells(surface, MakeColorRef(255, 255, 255), 5),
              (std::set<std::pair<int, int>>{{0, 0}, {100, 100}, {0, 200}}));
    // A wider range swallows the slightly darker cells too.
    EXPECT_EQ(FilledCells(surface, MakeColorRef(255, 255, 255), 6),
              (std::set<std::pair<int, int>>{{100, 100}}));

    // The colour is read red from the low byte.
    surface = Filled(300, 300, qRgb(10, 200, 30));
    PaintRect(surface, 200, 200, 100, 100, qRgb(30, 200, 10));  // red and blue swapped
    EXPECT_EQ(FilledCells(surface, MakeColorRef(10, 200, 30), 5),
              (std::set<std::pair<int, int>>{{200, 200}}));
}

// ----------------------------------------------------------------------------

TEST(ArrangementReferenceStats, AreaBeyondTheCanvasIsCappedAt100Percent) {
    // Type 6 with one size and thickness 2: u = 333.33, four cells round the
    // centre, then a ring reaching 166 pixels past every edge of the canvas.
    ArrangementSettings ring = Settings(6);
    ring.sizeSteps = 1;
    ring.layerThickness = 2;
    Table table(40);
    const ArrangementStats stats = table.Arrange(ring, test::Gradient(1000, 1000));
    const float cell = 1000.0f / 3.0f;
    EXPECT_EQ(stats.placedCount, 16);
    EXPECT_NEAR(stats.placedArea, stats.placedCount * double(cell * cell), 1.0);
    EXPECT_EQ(stats.areaRatio, 100.0f);
    EXPECT_EQ(stats.unplacedCount, 40 - stats.placedCount);
    // The cells at x = -166 (half width 166) put a node's centre on x = 0; it
    // must still keep later cells off its place.
    const std::multiset<Cell> placed = PlacedCells(table);
    EXPECT_EQ(placed.count({-166, -166, 166, 166}), 1u);
    for (const Cell& c : placed)
        EXPECT_EQ(placed.count(c), 1u);

    // Half the canvas: 50 percent, not capped.
    Table half(2);
    QImage surface = Filled(300, 300, qRgb(0, 0, 0));
    ArrangementSettings s = Settings(1, 300, 300);
    s.gridColumns = 2;
    s.gridRows = 1;
    s.sizeSteps = 1;
    s.comparePrecision = 1;
    SetAverages(half.records[0], 0, 0, 0);
    SetAverages(half.records[1], 255, 255, 255);
    const ArrangementStats halfStats = half.Arrange(s, surface);
    EXPECT_EQ(halfStats.placedCount, 1);
    EXPECT_EQ(halfStats.areaRatio, 50.0f);
}

TEST(ArrangementReferenceStats, SameSeedSameRecordsAndUntouchedFieldsStay) {
    const QImage surface = test::Gradient(1000, 1000);
    ArrangementSettings s = Settings(1);
    s.comparePrecision = 13;
    Table a(500), b(500), c(500);
    const Table before(500);
    const ArrangementStats sa = a.Arrange(s, surface, 99);
    const ArrangementStats sb = b.Arrange(s, surface, 99);
    c.Arrange(s, surface, 100);

    EXPECT_EQ(0, std::memcmp(a.records.data(), b.records.data(), 500 * sizeof(NodeRecord)));
    EXPECT_EQ(0, std::memcmp(a.marks.data(), b.marks.data(), 500 * sizeof(NodeMark)));
    EXPECT_NE(0, std::memcmp(a.records.data(), c.records.data(), 500 * sizeof(NodeRecord)));
    EXPECT_EQ(std::tuple(sa.placedCount, sa.placedArea, sa.areaRatio),
              std::tuple(sb.placedCount, sb.placedArea, sb.areaRatio));
    EXPECT_GT(sa.placedCount, 0);
    EXPECT_GT(sa.unplacedCount, 0);

    for (std::size_t i = 0; i < 500; ++i) {
        const NodeRecord& r = a.records[i];
        const NodeRecord& old = before.records[i];
        EXPECT_EQ(0, std::memcmp(&r.picture, &old.picture, sizeof r.picture));
        EXPECT_EQ(0, std::memcmp(r.avgRed, old.avgRed, 3 * kMaxSections + 1));
        EXPECT_EQ(0, std::memcmp(r.reserved, old.reserved, sizeof r.reserved));
        if (r.visible == 0) {
            // Hidden nodes lose only their centre x.
            EXPECT_EQ(std::tuple(r.centerX, r.centerY, r.halfWidth, r.halfHeight, r.cellColor),
                      std::tuple(0, old.centerY, old.halfWidth, old.halfHeight, old.cellColor));
        }
    }
}

// ----------------------------------------------------------------------------

TEST(ArrangementReferenceGuards, UnusableSettingsPlaceNothingAndStillShuffle) {
    const QImage surface = test::Gradient(500, 500);
    auto expectNothing = [&](ArrangementSettings s, const char* what) {
        Table table(20);
        const ArrangementStats stats = table.Arrange(s, surface, 4);
        EXPECT_EQ(stats.placedCount, 0) << what;
        EXPECT_EQ(stats.unplacedCount, 20) << what;
        EXPECT_EQ(stats.placedArea, 0.0) << what;
        EXPECT_EQ(stats.areaRatio, 0.0f) << what;
        std::vector<int> order;
        for (const NodeMark& m : table.marks)
            order.push_back(m.order);
        std::sort(order.begin(), order.end());
        for (int i = 0; i < 20; ++i)
            EXPECT_EQ(order[std::size_t(i)], i) << what;
    };
    struct Row {
        const char* what;
        int type, width, height, sizeSteps, thickness, columns, rows;
    };
    const Row rows[] = {{"zero width", 2, 0, 500, 3, 1, 20, 20},
                        {"negative height", 6, 500, -3, 3, 1, 20, 20},
                        {"type 0", 0, 500, 500, 3, 1, 20, 20},
                        {"type 8", 8, 500, 500, 3, 1, 20, 20},
                        {"no sizes", 3, 500, 500, 0, 1, 20, 20},
                        {"no units", 4, 500, 500, 1, 0, 20, 20},
                        {"negative thickness", 7, 500, 500, 3, -50, 20, 20},
                        {"no columns", 1, 500, 500, 3, 1, 0, 20},
                        {"negative grid", 1, 500, 500, 3, 1, -20, -20}};
    for (const Row& row : rows) {
        ArrangementSettings s = Settings(row.type, row.width, row.height);
        s.sizeSteps = row.sizeSteps;
        s.layerThickness = row.thickness;
        s.gridColumns = row.columns;
        s.gridRows = row.rows;
        expectNothing(s, row.what);
    }
}

TEST(ArrangementReferenceGuards, OddInputsAreReadSafely) {
    // Section counts outside 1..25 use the grid the sampler uses.
    for (int sections : {0, -4, 10, 99}) {
        ArrangementSettings s = OneCell();
        s.sectionCount = sections;
        Table table(5);
        EXPECT_EQ(table.Arrange(s, test::Gradient(300, 300)).placedCount, 1) << sections;
    }
    // A null surface reads white.
    {
        Table table(2);
        SetAverages(table.records[0], 0, 0, 0);
        SetAverages(table.records[1], 250, 250, 250);
        ArrangementSettings s = OneCell();
        s.comparePrecision = 1;
        table.Arrange(s, QImage());
        EXPECT_EQ(table.records[1].visible, 1);
        EXPECT_EQ(table.Visible(), 1);
    }
    // Marks and records of different lengths: only the common nodes take part.
    {
        Table table(6);
        const ArrangementStats stats = ArrangeNodesReference(
            OneCell(), test::Gradient(300, 300), table.records,
            std::span(table.marks).first(4), 2);
        EXPECT_EQ(stats.placedCount + stats.unplacedCount, 4);
        EXPECT_EQ(table.records[4].visible, 1);  // untouched
        EXPECT_EQ(table.records[5].centerX, 7);
    }
    // No nodes at all.
    {
        const ArrangementStats stats =
            ArrangeNodesReference(Settings(1), test::Gradient(100, 100), {}, {}, 1);
        EXPECT_EQ(stats.placedCount, 0);
        EXPECT_EQ(stats.unplacedCount, 0);
    }
    // Cells narrower than a pixel (more units than canvas pixels) end.
    for (int type = 2; type <= 7; ++type) {
        ArrangementSettings s = Settings(type, 40, 40);
        s.sizeSteps = 8;  // 36 or 72 units
        s.layerThickness = 10;
        Table table(30);
        const ArrangementStats stats = table.Arrange(s, test::Gradient(40, 40));
        EXPECT_LE(stats.areaRatio, 100.0f) << type;
        EXPECT_EQ(stats.placedCount + stats.unplacedCount, 30);
    }
}

}  // namespace
}  // namespace tessaly
