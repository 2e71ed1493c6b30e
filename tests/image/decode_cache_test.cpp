#include "image/decode_cache.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

QImage Image(int side) {
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
}

TEST(DecodeCache, KeepsWithinItsBudgetDroppingTheLeastRecentlyUsedEvenWhenItShrinks) {
    const qint64 one = Image(10).sizeInBytes();
    DecodeCache cache(3 * one);
    cache.Insert(1, QSize(10, 10), Image(10));
    cache.Insert(2, QSize(10, 10), Image(10));
    cache.Insert(3, QSize(10, 10), Image(10));
    EXPECT_FALSE(cache.Find(1, QSize(10, 10)).isNull());  // 1 is now the most recent
    cache.Insert(4, QSize(10, 10), Image(10));
    EXPECT_TRUE(cache.Find(2, QSize(10, 10)).isNull());
    EXPECT_FALSE(cache.Find(1, QSize(10, 10)).isNull());
    EXPECT_FALSE(cache.Find(4, QSize(10, 10)).isNull());
    EXPECT_LE(cache.UsedBytes(), cache.Budget());

    // A smaller budget evicts down to it, keeping the most recent.
    cache.SetBudget(one);
    EXPECT_EQ(cache.UsedBytes(), one);
    EXPECT_FALSE(cache.Find(4, QSize(10, 10)).isNull());
}

TEST(DecodeCache, SizesOfOnePictureAreSeparateEntries) {
    DecodeCache cache(1 << 20);
    cache.Insert(7, QSize(10, 10), Image(10));
    EXPECT_TRUE(cache.Find(7, QSize(5, 5)).isNull());
    cache.Insert(7, QSize(10, 10), Image(10));  // replacing does not count twice
    EXPECT_EQ(cache.UsedBytes(), Image(10).sizeInBytes());
}

TEST(DecodeCache, ImageLargerThanTheBudgetIsNotKept) {
    DecodeCache cache(100);
    cache.Insert(1, QSize(10, 10), Image(10));
    EXPECT_TRUE(cache.Find(1, QSize(10, 10)).isNull());
    EXPECT_EQ(cache.UsedBytes(), 0);
}

}  // namespace
}  // namespace tessaly
