#include "services/app_settings.h"

#include "services/settings.h"

namespace tessaly {
namespace {
const QString& kSys = kSystemSection;

float Thousandths(int stored) { return static_cast<float>(stored) / 1000.0f; }
int ToThousandths(float value) { return static_cast<int>(value * 1000.0f); }
}  // namespace

AppSettings AppSettings::Load() {
    AppSettings s;
    s.playAnime = GetProfileInt(kSys, QStringLiteral("PlayAnime"), 3);
    s.speedAnime = GetProfileInt(kSys, QStringLiteral("SpeedAnime"), 0);
    s.dspGuide = GetProfileInt(kSys, QStringLiteral("DspGuide"), 1);
    s.multiCntX = GetProfileInt(kSys, QStringLiteral("MultiCntX"), 1);
    s.multiCntY = GetProfileInt(kSys, QStringLiteral("MultiCntY"), 1);
    s.multiMaX = Thousandths(GetProfileInt(kSys, QStringLiteral("MultiMaX"), 10));
    s.multiMaY = Thousandths(GetProfileInt(kSys, QStringLiteral("MultiMaY"), 10));
    s.multiExt = GetProfileInt(kSys, QStringLiteral("MultiExt"), 0);
    s.dspMosaic = GetProfileInt(QStringLiteral("Last"), QStringLiteral("DspMosaic"), 0);
    return s;
}

void AppSettings::Save() const {
    WriteProfileInt(kSys, QStringLiteral("PlayAnime"), playAnime);
    WriteProfileInt(kSys, QStringLiteral("SpeedAnime"), speedAnime);
    WriteProfileInt(kSys, QStringLiteral("DspGuide"), dspGuide);
    WriteProfileInt(kSys, QStringLiteral("MultiCntX"), multiCntX);
    WriteProfileInt(kSys, QStringLiteral("MultiCntY"), multiCntY);
    WriteProfileInt(kSys, QStringLiteral("MultiMaX"), ToThousandths(multiMaX));
    WriteProfileInt(kSys, QStringLiteral("MultiMaY"), ToThousandths(multiMaY));
    WriteProfileInt(kSys, QStringLiteral("MultiExt"), multiExt);
    WriteProfileInt(QStringLiteral("Last"), QStringLiteral("DspMosaic"), dspMosaic ? 1 : 0);
}

AppSettings& CurrentSettings() {
    static AppSettings settings;
    return settings;
}

}  // namespace tessaly
