#include "services/random_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <vector>

namespace tessaly {
namespace {

std::vector<int> Take(CrtRandom& random, int count) {
    std::vector<int> values;
    for (int i = 0; i < count; ++i)
        values.push_back(random.Next());
    return values;
}

TEST(CrtRandomTest, ReproducesTheClassicRunTimeSequence) {
    const std::vector<int> seedOne = {41, 18467, 6334, 26500, 19169};
    CrtRandom unseeded;
    EXPECT_EQ(Take(unseeded, 5), seedOne);
    CrtRandom seeded(1);
    EXPECT_EQ(Take(seeded, 5), seedOne);

    CrtRandom zero(0);
    EXPECT_EQ(Take(zero, 3), (std::vector<int>{38, 7719, 21238}));
}

TEST(CrtRandomTest, ReseedingRestartsTheSequence) {
    CrtRandom random(12345);
    const std::vector<int> first = Take(random, 20);
    random.Seed(12345);
    EXPECT_EQ(Take(random, 20), first);
    random.Seed(12346);
    EXPECT_NE(Take(random, 20), first);
}

TEST(CrtRandomTest, StateWrapsModulo2To32AndValuesStayIn15Bits) {
    CrtRandom random(0xFFFFFFFFu);
    random.Next();
    // 0xFFFFFFFF x 214013 + 2531011 taken modulo 2^32.
    EXPECT_EQ(random.State(), 2316998u);

    CrtRandom spread(7);
    int lowest = CrtRandom::kMax;
    int highest = 0;
    for (int i = 0; i < 100000; ++i) {
        const int v = spread.Next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, CrtRandom::kMax);
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    EXPECT_LT(lowest, 10);
    EXPECT_GT(highest, CrtRandom::kMax - 10);
}

TEST(CrtRandomTest, ClockSeedIsTheTimeInWholeSeconds) {
    const auto before = static_cast<std::uint32_t>(std::time(nullptr));
    CrtRandom random;
    random.SeedFromClock();
    const auto after = static_cast<std::uint32_t>(std::time(nullptr));
    EXPECT_GE(random.State(), before);
    EXPECT_LE(random.State(), after);
}

}  // namespace
}  // namespace tessaly
