// Cells sampled ahead on the helper thread, or on the spot, must read exactly
// what sampling each cell alone reads, whichever cells the placement skips.
#include "mosaic/cell_sampler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "mosaic/colour_features.h"
#include "services/random_generator.h"

using namespace tessaly;

namespace {

QImage Noise(int width, int height) {
    QImage image = NewSamplingSurface(width, height);
    CrtRandom random(3);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(random.Next() % 256, (x + y) % 256, random.Next() % 256);
    }
    return image;
}

// Cells of mixed sizes, some hanging over the edges, some below a pixel.
std::vector<LaidCell> RandomCells(CrtRandom& random, int count, int side) {
    std::vector<LaidCell> cells;
    for (int i = 0; i < count; ++i) {
        const float size =
            random.Next() % 10 == 0 ? 0.5f : 3.0f + static_cast<float>(random.Next() % 300);
        cells.push_back({random.Next() % (side + 100) - 50, random.Next() % (side + 100) - 50, size,
                         size * 0.75f});
    }
    return cells;
}

bool SameAsAlone(const QImage& surface, int sections, const LaidCell& cell,
                 const PaddedColours& got) {
    SectionValues red, green, blue;
    SampleBackgroundCell(surface, sections, cell.x, cell.y, cell.width, cell.height, red, green,
                         blue);
    PaddedColours expected{};
    std::copy(std::begin(red), std::end(red), expected.red);
    std::copy(std::begin(green), std::end(green), expected.green);
    std::copy(std::begin(blue), std::end(blue), expected.blue);
    return std::memcmp(&expected, &got, sizeof expected) == 0;
}

}  // namespace

TEST(CellSampler, ReadsWhatEachCellReadsAloneOverManyRunsAndSkips) {
    const QImage surface = Noise(1200, 1000);
    CrtRandom random(11);
    for (const int sections : {1, 9, 25}) {
        CellSampler sampler(surface, sections);
        // A long run with a helper, a single cell, a run left early, a run
        // asked for only every few cells, and another long one.
        for (const int count : {3000, 1, 800, 2000, 3000}) {
            const std::vector<LaidCell> cells = RandomCells(random, count, 1200);
            sampler.Start(cells);
            const int stride = count == 2000 ? 1 + random.Next() % 5 : 1;
            const int end = count == 800 ? 40 : count;
            for (int i = 0; i < end; i += stride) {
                ASSERT_TRUE(SameAsAlone(surface, sections, cells[std::size_t(i)], sampler.At(i)))
                    << "N " << sections << ", run of " << count << ", cell " << i;
            }
            sampler.Finish();
        }
    }
}

TEST(CellSampler, CanBeDroppedInTheMiddleOfARun) {
    const QImage surface = Noise(800, 800);
    CrtRandom random(12);
    const std::vector<LaidCell> cells = RandomCells(random, 4000, 800);
    for (int stop : {0, 1, 100}) {
        CellSampler sampler(surface, 9);
        sampler.Start(cells);
        for (int i = 0; i < stop; ++i)
            ASSERT_TRUE(SameAsAlone(surface, 9, cells[std::size_t(i)], sampler.At(i)));
    }  // the helper is stopped and joined
}
