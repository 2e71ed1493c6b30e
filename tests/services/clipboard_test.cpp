#include "services/clipboard.h"

#include <gtest/gtest.h>

#include "support/test_images.h"

namespace tessaly {
namespace {

// The image and the text go on the clipboard together and come back from it.
TEST(SystemClipboardTest, CarriesImageAndTextTogether) {
    const struct {
        QImage image;
        bool hasImage;
    } cases[] = {{test::Gradient(30, 20), true}, {QImage(), false}};
    for (const auto& c : cases) {
        SystemClipboard().PutImageAndText(c.image, u"[OBJ]"_qs);
        EXPECT_EQ(SystemClipboard().Text(), u"[OBJ]"_qs);
        EXPECT_EQ(SystemClipboard().HasImage(), c.hasImage);
        EXPECT_EQ(SystemClipboard().Image().size(), c.image.size());
    }
}

}  // namespace
}  // namespace tessaly
