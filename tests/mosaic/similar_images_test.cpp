// The ranking of similar images against a direct computation: the whole
// canvas sampled as the arrangement samples it, every other node compared
// section by section, sorted by distance and then index.
#include "mosaic/similar_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "canvas/section_averages.h"
#include "image/image_blob.h"
#include "mosaic/colour_features.h"
#include "services/random_generator.h"
#include "support/document_builder.h"
#include "support/photographs.h"
#include "support/test_images.h"

using namespace tessaly;

namespace {

std::vector<SimilarImage> DirectRanking(const Document& doc, int node, int count) {
    const DocState& s = doc.State();
    const NodeRecord& chosen = doc.Node(node);
    SectionValues cell[3];
    SampleBackgroundCell(MakeSamplingSurface(doc), s.sectionCount, chosen.Left(), chosen.Top(),
                         chosen.Width(), chosen.Height(), cell[0], cell[1], cell[2]);
    const int tolerance = 10 * s.comparePrecision + 5;
    std::vector<SimilarImage> all;
    for (int i = 0; i < s.nodeCount; ++i) {
        if (i == node) continue;
        const NodeRecord& r = doc.Node(i);
        const std::uint8_t* own[3] = {r.avgRed, r.avgGreen, r.avgBlue};
        int distance = 0;
        bool passes = true;
        for (int ch = 0; ch < 3; ++ch) {
            int sum = 0;
            for (int k = 0; k < s.sectionCount; ++k) {
                const int d = std::abs(cell[ch][k] - own[ch][k]);
                passes = passes && (tolerance >= 255 || d <= tolerance);
                sum += d;
            }
            distance += sum / s.sectionCount;
        }
        if (passes) all.push_back({i, distance, r.visible != 0});
    }
    std::stable_sort(all.begin(), all.end(), [](const SimilarImage& a, const SimilarImage& b) {
        return a.distance < b.distance;
    });
    all.resize(std::min<std::size_t>(all.size(), std::size_t(count)));
    return all;
}

// A 300 x 200 canvas over `picture`; 40 nodes whose averages are the
// background under a spot of their own, give or take 12, every fifth
// unplaced, and node 30 a copy of node 6, so equal distances occur.
void CheckRankings(const QByteArray& picture) {
    Document doc;
    ASSERT_TRUE(doc.AllocateNodeTables());
    doc.State().nodeCount = 0;
    doc.State().canvasWidth = 300;
    doc.State().canvasHeight = 200;
    doc.State().backPicture = doc.Pictures().Adopt(*ImageBlob::FromEncoded(picture));
    const QImage surface = MakeSamplingSurface(doc);
    CrtRandom random;
    random.Seed(7);
    for (int i = 0; i < 40; ++i) {
        const int n = test::AddNode(doc, 20 + i * 6, 30 + i * 4, 15, 10,
                                    test::PngBytes(test::Gradient(4, 4)));
        NodeRecord& r = doc.Node(n);
        r.visible = i % 5 == 4 ? 0 : 1;
        SampleBackgroundCell(surface, 25, r.Left(), r.Top(), r.Width(), r.Height(), r.avgRed,
                             r.avgGreen, r.avgBlue);
        for (std::uint8_t* channel : {r.avgRed, r.avgGreen, r.avgBlue}) {
            for (int k = 0; k < kMaxSections; ++k) {
                channel[k] = static_cast<std::uint8_t>(
                    std::clamp(channel[k] + random.Next() % 25 - 12, 0, 255));
            }
        }
    }
    doc.Node(30) = doc.Node(6);
    doc.Node(30).centerX = 250;

    const struct {
        int sections, precision, node, centerX, centerY, halfWidth, halfHeight;
    } cases[] = {
        {9, 25, 0, 170, 60, 45, 25},   // inside, wider than high, every image passes
        {25, 13, 3, 120, 150, 30, 50},  // taller than wide, tolerance 135
        {4, 25, 6, 280, 190, 40, 30},   // past the right and bottom edges: white there
        {1, 25, 9, 10, 10, 60, 5},      // past the left and top edges
        {16, 3, 12, 95, 80, 20, 12},    // tolerance 35: only the neighbours pass
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "sections " << c.sections << ", node " << c.node);
        doc.State().sectionCount = c.sections;
        doc.State().comparePrecision = c.precision;
        NodeRecord& chosen = doc.Node(c.node);
        chosen.centerX = c.centerX;
        chosen.centerY = c.centerY;
        chosen.halfWidth = c.halfWidth;
        chosen.halfHeight = c.halfHeight;
        const BackgroundUnderNodes background(doc);
        const std::vector<SimilarImage> expected = DirectRanking(doc, c.node, 8);
        const std::vector<SimilarImage> found = FindSimilarImages(doc, background, c.node);
        ASSERT_EQ(found.size(), expected.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].node, expected[i].node) << i;
            EXPECT_EQ(found[i].distance, expected[i].distance) << i;
            EXPECT_EQ(found[i].placed, expected[i].placed) << i;
        }
        // The copies sit next to each other, the lower index first.
        const auto all = FindSimilarImages(doc, background, c.node, 40);
        const auto at = [&](int node) {
            return std::find_if(all.begin(), all.end(),
                                [&](const SimilarImage& s) { return s.node == node; });
        };
        if (c.node != 6 && at(6) != all.end()) {
            EXPECT_EQ(at(6) + 1, at(30));
        }
    }
}

}  // namespace

TEST(SimilarImages, RankAsADirectComputationOverTheWholeCanvas) {
    {
        SCOPED_TRACE("a PNG picture stretched, decoded whole");
        CheckRankings(test::PngBytes(test::Gradient(64, 40)));
    }
    // A photograph larger than the canvas, 4:2:0 as cameras write it, read
    // band by band.
    SCOPED_TRACE("a JPEG photograph shrunk, decoded by bands");
    CheckRankings(test::JpegOf(test::Photographs().front().scaled(900, 700), 90));
}

TEST(SimilarImages, NothingToRankWithoutABackgroundOrANodeInUse) {
    Document doc;
    ASSERT_TRUE(doc.AllocateNodeTables());
    doc.State().nodeCount = 0;
    test::FillDocument(doc, 3, false);
    EXPECT_TRUE(FindSimilarImages(doc, BackgroundUnderNodes(doc), 0).empty());
    doc.State().backPicture =
        doc.Pictures().Adopt(*ImageBlob::FromEncoded(test::PngBytes(test::Gradient(8, 8))));
    const BackgroundUnderNodes background(doc);
    EXPECT_EQ(FindSimilarImages(doc, background, 0).size(), 2u);
    EXPECT_TRUE(FindSimilarImages(doc, background, 3).empty());
    EXPECT_TRUE(FindSimilarImages(doc, background, -1).empty());
}
