#include "services/environment_settings.h"

#include <algorithm>

#include "services/app_settings.h"
#include "services/settings.h"

namespace tessaly {
namespace {

const QString& kSys = kSystemSection;
const QString kFirstOpen = QStringLiteral("FirstOpen");
const QString kMaxWidth = QStringLiteral("MaxImgW");
const QString kMaxHeight = QStringLiteral("MaxImgH");
const QString kMakeBackup = QStringLiteral("MakeBackup");
constexpr int kDefaultShrinkSide = 40;

using Env = EnvironmentSettings;

int LimitSide(int side) {
    return std::clamp(side, Env::kLeastShrinkSide, Env::kGreatestShrinkSide);
}

// Sets one of the application's values and stores it, only when it changes.
void StoreIfChanged(int& held, int value, const char* key) {
    if (held == value) return;
    held = value;
    WriteProfileInt(kSys, QString::fromLatin1(key), value);
}

}  // namespace

EnvironmentSettings EnvironmentSettings::Read(const AppSettings& app) {
    EnvironmentSettings env;
    env.firstOpen = GetProfileInt(kSys, kFirstOpen, 0) != 0;
    env.makeBackup = GetProfileInt(kSys, kMakeBackup, 1) != 0;
    env.shrinkSize = StoredShrinkSize();
    env.playAnime = app.playAnime;
    env.speedAnime = app.speedAnime;
    env.dspGuide = app.dspGuide != 0;
    return env;
}

EnvironmentSettings EnvironmentSettings::Limited() const {
    EnvironmentSettings limited = *this;
    limited.shrinkSize = {LimitSide(shrinkSize.width()), LimitSide(shrinkSize.height())};
    limited.playAnime =
        playAnime <= 0 ? 0 : std::clamp(playAnime, kLeastAnimations, kGreatestAnimations);
    limited.speedAnime = speedAnime >= 0 && speedAnime <= kSlowestSpeed ? speedAnime : 0;
    return limited;
}

void EnvironmentSettings::Store(AppSettings& app) const {
    const EnvironmentSettings env = Limited();
    WriteProfileInt(kSys, kMaxHeight, env.shrinkSize.height());
    WriteProfileInt(kSys, kMaxWidth, env.shrinkSize.width());
    WriteProfileInt(kSys, kFirstOpen, env.firstOpen ? 1 : 0);
    WriteProfileInt(kSys, kMakeBackup, env.makeBackup ? 1 : 0);
    StoreIfChanged(app.playAnime, env.playAnime, "PlayAnime");
    StoreIfChanged(app.speedAnime, env.speedAnime, "SpeedAnime");
    StoreIfChanged(app.dspGuide, env.dspGuide ? 1 : 0, "DspGuide");
}

QSize StoredShrinkSize() {
    return {LimitSide(GetProfileInt(kSys, kMaxWidth, kDefaultShrinkSide)),
            LimitSide(GetProfileInt(kSys, kMaxHeight, kDefaultShrinkSide))};
}

int OfferedAnimationCount(int playAnime) {
    return playAnime > 0 ? std::clamp(playAnime, Env::kLeastAnimations, Env::kGreatestAnimations)
                         : Env::kOfferedAnimations;
}

}  // namespace tessaly
