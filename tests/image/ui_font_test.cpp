#include "image/ui_font.h"

#include <gtest/gtest.h>

#include <QImage>

namespace tessaly {
namespace {

TEST(CreateUiFont, PointsBecomePixelsAtTheDeviceResolution) {
    QImage at96(10, 10, QImage::Format_RGB32);
    at96.setDotsPerMeterY(3780);  // 96 dpi
    EXPECT_EQ(CreateUiFont(&at96, {}, 9, false).pixelSize(), 12);
    EXPECT_EQ(CreateUiFont(&at96, {}, 10, false).pixelSize(), 13);  // 13.33 rounds down
    QImage at300(10, 10, QImage::Format_RGB32);
    at300.setDotsPerMeterY(11811);  // 300 dpi
    EXPECT_EQ(CreateUiFont(&at300, {}, 12, false).pixelSize(), 50);
}

TEST(CreateUiFont, FaceDefaultsToTheUiFontWithJapaneseFallbacks) {
    const QFont font = CreateUiFont(nullptr, {}, 9, true);
    ASSERT_GE(font.families().size(), 2);
    EXPECT_EQ(font.families().front(), u"MS UI Gothic");
    EXPECT_TRUE(font.families().contains(u"Noto Sans CJK JP"));
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_EQ(CreateUiFont(nullptr, u"Serif"_qs, 9, false).families().front(), u"Serif");
    EXPECT_EQ(CreateUiFont(nullptr, u"Serif"_qs, 9, false).weight(), QFont::Normal);
}

}  // namespace
}  // namespace tessaly
