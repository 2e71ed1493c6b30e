#include "resources/mosaic_explanation.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace tessaly {
namespace {

TEST(MosaicExplanation, SeventyFourLinesEachEndedByCrLf) {
    const QString text = MosaicExplanationText();
    EXPECT_EQ(text.count(u"\r\n"), 74);
    EXPECT_EQ(text.count(u'\n'), 74);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 75);  // the text ends with CR LF
    EXPECT_EQ(lines[0], QStringView(u"【説明】"));
    EXPECT_EQ(lines[2], QStringView(u"　作成できるモザイクの種類は７タイプあります。"));
    EXPECT_EQ(lines[72],
              QStringView(u"　右下の絵柄のアイコンボタンをクリックすると、モザイクを一旦非表示にして、背景イメージを表示します。表示中、再度クリックすると、モザイクを表示します。"));
    EXPECT_TRUE(lines[73].isEmpty());
}

}  // namespace
}  // namespace tessaly
