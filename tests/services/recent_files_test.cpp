#include "services/recent_files.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(RecentFileList, RemovesTheEntriesAtTheGivenPositions) {
    struct Row {
        QList<int> positions;
        QStringList left;
    };
    const Row rows[] = {
        {{1, 3}, {u"a"_qs, u"c"_qs, u"e"_qs}},
        {{3, 1, 1}, {u"a"_qs, u"c"_qs, u"e"_qs}},
        {{-1, 5}, {u"a"_qs, u"b"_qs, u"c"_qs, u"d"_qs, u"e"_qs}},
    };
    for (const Row& row : rows) {
        RecentFileList recent;
        for (const char* path : {"e", "d", "c", "b", "a"})
            recent.Add(QString::fromLatin1(path));
        recent.RemoveAt(row.positions);
        EXPECT_EQ(recent.Files(), row.left);
    }
}

}  // namespace
}  // namespace tessaly
