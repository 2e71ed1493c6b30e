// The candidate search against a plain scan written out here, and the coarse
// scan by means in each of its instruction sets against the plain one.
#include "mosaic/candidate_search.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "mosaic/mean_scan.h"
#include "services/random_generator.h"

using namespace tessaly;

namespace {

struct Table {
    std::vector<NodeRecord> records;
    std::vector<NodeMark> marks;
};

// Images in a few colour families, some identical, shuffled by their marks.
Table RandomTable(CrtRandom& random, int count) {
    Table table;
    table.records.resize(static_cast<std::size_t>(count));
    table.marks.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        NodeRecord& r = table.records[static_cast<std::size_t>(i)];
        r = NodeRecord{};
        const int base = random.Next() % 5 == 0 ? 100 : random.Next() % 256;
        for (int k = 0; k < kMaxSections; ++k) {
            r.avgRed[k] = static_cast<std::uint8_t>((base + random.Next() % 40) % 256);
            r.avgGreen[k] = static_cast<std::uint8_t>((base * 7 + random.Next() % 40) % 256);
            r.avgBlue[k] = static_cast<std::uint8_t>((300 - base + random.Next() % 40) % 256);
        }
        table.marks[static_cast<std::size_t>(i)].order = (i * 7919) % count;
    }
    return table;
}

PaddedColours RandomCell(CrtRandom& random, int sections) {
    PaddedColours cell{};
    const int base = random.Next() % 256;
    for (int k = 0; k < sections; ++k) {
        cell.red[k] = static_cast<std::uint8_t>((base + random.Next() % 60) % 256);
        cell.green[k] = static_cast<std::uint8_t>((base * 7 + random.Next() % 60) % 256);
        cell.blue[k] = static_cast<std::uint8_t>((300 - base + random.Next() % 60) % 256);
    }
    return cell;
}

// The search as the arrangement states it, over the positions not removed.
int PlainSearch(const Table& table, const std::vector<bool>& removed, const PaddedColours& cell,
                int sections, int tolerance, bool different) {
    int best = -1;
    int bestR = different ? 0 : 255 * sections, bestG = bestR, bestB = bestR;
    for (std::size_t j = 0; j < table.marks.size(); ++j) {
        if (removed[j]) continue;
        const NodeRecord& r = table.records[static_cast<std::size_t>(table.marks[j].order)];
        int sumR = 0, sumG = 0, sumB = 0;
        bool rejected = false;
        for (int k = 0; k < sections && !rejected; ++k) {
            const int dR = std::abs(cell.red[k] - r.avgRed[k]);
            const int dG = std::abs(cell.green[k] - r.avgGreen[k]);
            const int dB = std::abs(cell.blue[k] - r.avgBlue[k]);
            rejected = tolerance != 255 && (dR > tolerance || dG > tolerance || dB > tolerance);
            sumR += dR;
            sumG += dG;
            sumB += dB;
        }
        if (rejected) continue;
        const int aR = sumR / sections, aG = sumG / sections, aB = sumB / sections;
        if (different ? (aR > bestR && aG > bestG && aB > bestB)
                      : (aR < bestR && aG < bestG && aB < bestB)) {
            best = static_cast<int>(j);
            bestR = aR;
            bestG = aG;
            bestB = aB;
        }
    }
    return best;
}

}  // namespace

TEST(CandidateSearch, FindsWhatThePlainScanFindsAsImagesAreRemoved) {
    CrtRandom random(77);
    for (const int sections : {1, 4, 9, 16, 25}) {
        for (const int tolerance : {-1, 0, 15, 45, 135, 255}) {
            for (const bool different : {false, true}) {
                const Table table = RandomTable(random, 300);
                CandidateSearch search(table.records, table.marks, sections, tolerance);
                std::vector<bool> removed(table.marks.size(), false);
                for (int cellIndex = 0; cellIndex < 60; ++cellIndex) {
                    const PaddedColours cell = RandomCell(random, sections);
                    const int expected =
                        PlainSearch(table, removed, cell, sections, tolerance, different);
                    ASSERT_EQ(search.FindBest(cell, different), expected)
                        << "N " << sections << ", T " << tolerance << ", different " << different
                        << ", cell " << cellIndex;
                    if (expected >= 0) {
                        search.Remove(expected);
                        removed[static_cast<std::size_t>(expected)] = true;
                        EXPECT_EQ(search.NodeAt(expected),
                                  table.marks[static_cast<std::size_t>(expected)].order);
                    }
                }
            }
        }
    }
}

TEST(CandidateSearch, OneSectionNeedsADifferenceBelow255AndTiesKeepTheFirst) {
    Table table;
    table.records.assign(3, NodeRecord{});
    table.marks.resize(3);
    for (int i = 0; i < 3; ++i)
        table.marks[static_cast<std::size_t>(i)].order = i;
    table.records[0].avgRed[0] = 255;  // 255 away from the black cell in red
    table.records[1].avgRed[0] = 10;
    table.records[2].avgRed[0] = 10;  // ties with image 1
    CandidateSearch search(table.records, table.marks, 1, 255);
    PaddedColours black{};
    EXPECT_EQ(search.FindBest(black, false), 1);
    search.Remove(1);
    EXPECT_EQ(search.FindBest(black, false), 2);
    search.Remove(2);
    EXPECT_EQ(search.FindBest(black, false), -1);  // a difference of 255 never beats the start
    EXPECT_FALSE(search.Empty());
    search.Remove(0);
    search.Remove(0);  // removing twice counts once
    EXPECT_TRUE(search.Empty());
}

namespace {

struct Columns {
    std::vector<std::uint8_t> alive, means[3], firsts[3];
    MeanColumns View() const {
        return {alive.data(),
                {means[0].data(), means[1].data(), means[2].data()},
                {firsts[0].data(), firsts[1].data(), firsts[2].data()},
                static_cast<int>(alive.size())};
    }
};

Columns RandomColumns(CrtRandom& random, int groups) {
    Columns c;
    const auto size = static_cast<std::size_t>(groups * kMeanScanGroup);
    c.alive.resize(size);
    for (auto& a : c.alive)
        a = random.Next() % 5 == 0 ? 0 : 0xFF;
    for (int ch = 0; ch < 3; ++ch) {
        c.means[ch].resize(size);
        c.firsts[ch].resize(size);
        for (auto& m : c.means[ch])
            m = static_cast<std::uint8_t>(random.Next() % 256);
        for (auto& f : c.firsts[ch])
            f = static_cast<std::uint8_t>(random.Next() % 256);
    }
    return c;
}

// The positions a scan visits; every 7th visit narrows the reach.
template <typename Scan>
std::vector<int> Visits(const Columns& columns, MeanReach reach, Scan scan) {
    std::vector<int> visits;
    auto visit = [&](int position) {
        visits.push_back(position);
        if (visits.size() % 7 != 0) return ScanStep::kGoOn;
        for (auto& m : reach.means)
            m = static_cast<std::uint8_t>(m * 3 / 4);
        return visits.size() > 200 ? ScanStep::kStop : ScanStep::kReachChanged;
    };
    scan(columns.View(), reach, visit);
    return visits;
}

}  // namespace

TEST(MeanScan, EveryInstructionSetVisitsTheSameImages) {
    CrtRandom random(5);
    for (int round = 0; round < 20; ++round) {
        const Columns columns = RandomColumns(random, 1 + round);
        MeanReach reach{};
        for (int ch = 0; ch < 3; ++ch) {
            reach.cellMeans[ch] = static_cast<std::uint8_t>(random.Next() % 256);
            reach.cellFirsts[ch] = static_cast<std::uint8_t>(random.Next() % 256);
            reach.means[ch] = static_cast<std::uint8_t>(round < 3 ? 255 : random.Next() % 120);
        }
        reach.firsts = static_cast<std::uint8_t>(random.Next() % 200);
        reach.checkFirsts = round % 2 == 1;
        const auto plain = Visits(columns, reach, [](const auto& c, const auto& r, auto& v) {
            detail::ScanMeansPlain(c, r, v);
        });
        const auto chosen = Visits(
            columns, reach, [](const auto& c, const auto& r, auto& v) { ScanMeans(c, r, v); });
        EXPECT_EQ(chosen, plain) << round;
#if defined(TESSALY_MEAN_SCAN_X86)
        const auto sse2 = Visits(columns, reach, [](const auto& c, const auto& r, auto& v) {
            detail::ScanMeansSse2(c, r, v);
        });
        EXPECT_EQ(sse2, plain) << round;
        if (detail::CpuHasAvx2()) {
            const auto avx2 = Visits(columns, reach, [](const auto& c, const auto& r, auto& v) {
                detail::ScanMeansAvx2(c, r, v);
            });
            EXPECT_EQ(avx2, plain) << round;
        }
#endif
    }
}
