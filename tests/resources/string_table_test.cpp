#include <gtest/gtest.h>

#include "resources/string_table.h"

namespace tessaly {
namespace {

TEST(StringTable, EveryNamedIdHasText) {
    for (int id : {30001, 30002, 30003, 30007, 30012, 30015, 30018, 30019, 30020, 30022, 30025,
                   30026, 30027, 30028, 30029, 30030, 30032, 30035, 30036, 30043, 30047, 30048,
                   30049, 30056, 30064, 30066, 30069, 30076, 30077, 30082, 30100, 30101, 30102,
                   30103, 30104, 30105, 30106, 30107, 30108, 30109, 30110, 30111, 30112, 30113,
                   30114, 30115, 30163, 30173, 30174, 30200, 30201, 30202, 30203}) {
        EXPECT_FALSE(LoadString(id).isEmpty()) << id;
    }
}

TEST(StringTable, UnknownIdsHaveNoText) {
    EXPECT_TRUE(LoadString(0).isEmpty());
    EXPECT_TRUE(LoadString(30000).isEmpty());
    EXPECT_TRUE(LoadString(30004).isEmpty());
    EXPECT_TRUE(LoadString(99999).isEmpty());
}

TEST(StringTable, OldestVersionLineCarriesItsOwnLineBreak) {
    EXPECT_TRUE(LoadString(kStrVersion100).endsWith(u"\r\n"));
    EXPECT_FALSE(LoadString(kStrVersion103).endsWith(u"\n"));
}

TEST(StringTable, ToggleMessagesCanBeTurnedToOff) {
    // The F2 and F10 notices say "off" by replacing this word.
    EXPECT_TRUE(LoadString(kMsgGuideSwitched).contains(ui_text::kWordOn));
    EXPECT_TRUE(LoadString(kMsgAnimationSwitched).contains(ui_text::kWordOn));
}

}  // namespace
}  // namespace tessaly
