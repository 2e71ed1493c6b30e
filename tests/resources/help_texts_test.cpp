#include <gtest/gtest.h>

#include <QStringList>

#include "resources/help_texts.h"

namespace tessaly {
namespace {

TEST(HelpTexts, ManualIsAPdfNamedByTheStringTable) {
    EXPECT_EQ(ManualFileName(), QStringLiteral("Manual.pdf"));
}

TEST(HelpTexts, VersionHistoryRunsNewestFirstAndEndsWithAnEmptyLine) {
    const QStringList lines = VersionHistoryText().split(QStringLiteral("\r\n"));
    const QStringList expected = {
        QStringLiteral("Ver. 1.03 2022.11.09 アニメポインターの速度調整機能追加"),
        QStringLiteral("Ver. 1.02 2014.09.20 印刷プレビューに余白の表示を追加"),
        QStringLiteral("Ver. 1.01 2014.08.14 モザイク用イメージ一括作成処理追加"),
        QStringLiteral("Ver. 1.00 2013.10.05 新規作成"),
        QString(),  // the empty line after the oldest entry
        QString(),  // after the final line break
    };
    EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace tessaly
