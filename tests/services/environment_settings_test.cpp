#include "services/environment_settings.h"

#include <gtest/gtest.h>

#include <QDir>

#include "services/app_settings.h"
#include "services/settings.h"
#include "support/temp_env.h"

namespace tessaly {
namespace {

class EnvironmentSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { UseSettingsFile(QDir(temp.Path()).filePath(u"settings.ini"_qs)); }
    void TearDown() override { UseSettingsFile({}); }

    static int Stored(const char* key) {
        return GetProfileInt(u"SYS"_qs, QString::fromLatin1(key), -99);
    }

    test::ScopedTempDir temp;
};

TEST_F(EnvironmentSettingsTest, ValuesAreLimitedToTheirRangesWhenStored) {
    struct Row {
        QSize size;
        int playAnime, speedAnime;
        QSize storedSize;
        int storedPlay, storedSpeed;
    };
    const Row rows[] = {
        {{150, 5}, 4, 2, {100, 20}, 4, 2},
        {{20, 100}, 11, -1, {20, 100}, 10, 0},
        {{19, 101}, -3, 5, {20, 100}, 0, 0},
    };
    for (const Row& row : rows) {
        AppSettings app;
        EnvironmentSettings env;
        env.shrinkSize = row.size;
        env.playAnime = row.playAnime;
        env.speedAnime = row.speedAnime;
        env.Store(app);
        EXPECT_EQ(StoredShrinkSize(), row.storedSize);
        EXPECT_EQ(Stored("MaxImgW"), row.storedSize.width());
        EXPECT_EQ(app.playAnime, row.storedPlay);
        EXPECT_EQ(app.speedAnime, row.storedSpeed);
    }
}

TEST_F(EnvironmentSettingsTest, ApplicationValuesAreWrittenOnlyWhenTheyChange) {
    AppSettings app;  // 3 animations, fastest, guides on
    EnvironmentSettings env = EnvironmentSettings::Read(app);
    env.dspGuide = false;
    env.Store(app);
    EXPECT_EQ(Stored("PlayAnime"), -99);
    EXPECT_EQ(Stored("SpeedAnime"), -99);
    EXPECT_EQ(Stored("DspGuide"), 0);
    EXPECT_EQ(app.dspGuide, 0);
    EXPECT_EQ(Stored("FirstOpen"), 0);
    EXPECT_EQ(Stored("MakeBackup"), 1);
}

}  // namespace
}  // namespace tessaly
