#include "services/system_memory.h"

#include <gtest/gtest.h>

using namespace tessaly;

TEST(SystemMemoryTest, UsedShareIsTruncatedFromTotalAndAvailable) {
    EXPECT_EQ(MemoryUsedPercentOf("MemTotal:       1000 kB\nMemFree:  50 kB\n"
                                  "MemAvailable:    95 kB\n"),
              90);  // 90.5 truncated
    EXPECT_EQ(MemoryUsedPercentOf("MemTotal: 1000 kB\nMemAvailable: 0 kB\n"), 100);
}

TEST(SystemMemoryTest, OlderKernelsCountFreeBuffersAndCache) {
    EXPECT_EQ(MemoryUsedPercentOf("MemTotal: 2000 kB\nMemFree: 100 kB\nBuffers: 100 kB\n"
                                  "Cached: 300 kB\n"),
              75);
}

TEST(SystemMemoryTest, UnreadableFiguresTellNothing) {
    EXPECT_FALSE(MemoryUsedPercentOf(""));
    EXPECT_FALSE(MemoryUsedPercentOf("MemTotal: 0 kB\nMemAvailable: 0 kB\n"));
    EXPECT_FALSE(MemoryUsedPercentOf("garbage\n:::\nMemTotal: lots\n"));
    // Available larger than total (a lying file) counts as nothing used.
    EXPECT_EQ(MemoryUsedPercentOf("MemTotal: 100 kB\nMemAvailable: 500 kB\n"), 0);
    EXPECT_TRUE(PhysicalMemoryUsedPercent().has_value());  // this machine has /proc
}
