#include <gtest/gtest.h>

#include "services/work_progress.h"
#include "support/work_progress_recorder.h"

namespace tessaly {
namespace {

TEST(WorkProgressTest, WithoutAWindowWorkIsNeverCancelled) {
    WorkProgress work(QStringLiteral("x"), 3);
    EXPECT_TRUE(work.Advance(1));
    EXPECT_TRUE(work.Advance(3));
    EXPECT_FALSE(work.Cancelled());
}

TEST(WorkProgressTest, InnerWorkShowsNothingAndStopsWithTheOuter) {
    test::WorkProgressRecorder recorder(/*cancelAtCall=*/2);
    {
        WorkProgress outer(QStringLiteral("outer"), 10);
        EXPECT_TRUE(outer.Advance(1));
        {
            WorkProgress inner(QStringLiteral("inner"), 5);
            EXPECT_TRUE(inner.Advance(4));  // not shown, not counted as a call
            EXPECT_FALSE(outer.Advance(2));  // the second call presses cancel
            EXPECT_FALSE(inner.Advance(5));
            EXPECT_TRUE(inner.Cancelled());
        }
        EXPECT_FALSE(outer.Advance(3));  // a cancel sticks
    }
    ASSERT_EQ(recorder.Works().size(), 1u);
    EXPECT_EQ(recorder.Works()[0].label, QStringLiteral("outer"));
    EXPECT_EQ(recorder.Works()[0].total, 10);
    EXPECT_EQ(recorder.Works()[0].steps, (std::vector<int>{1, 2}));
    EXPECT_TRUE(recorder.Works()[0].ended);

    WorkProgress next(QStringLiteral("next"), 1);  // the next work starts afresh
    EXPECT_TRUE(next.Advance(1));
}

}  // namespace
}  // namespace tessaly
