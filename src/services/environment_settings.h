#pragma once

#include <QSize>

namespace tessaly {

struct AppSettings;

// The preferences of the environment settings: "SYS" / "FirstOpen",
// "MaxImgW", "MaxImgH" and "MakeBackup" live in the settings store only;
// "PlayAnime", "SpeedAnime" and "DspGuide" are the running application's
// values, written to the store at once whenever they change here.
struct EnvironmentSettings {
    static constexpr int kLeastShrinkSide = 20;
    static constexpr int kGreatestShrinkSide = 100;
    static constexpr int kLeastAnimations = 1;
    static constexpr int kGreatestAnimations = 10;
    // The count offered while the animation is off.
    static constexpr int kOfferedAnimations = 3;
    static constexpr int kSlowestSpeed = 4;

    bool firstOpen = false;
    QSize shrinkSize{40, 40};  // "MaxImgW" x "MaxImgH"
    int playAnime = 3;         // 0 = off
    int speedAnime = 0;        // 0 = fastest .. 4 = slowest
    bool makeBackup = true;
    bool dspGuide = true;

    // The store's values with their defaults, the sizes kept within 20..100,
    // and the application's values as they stand.
    static EnvironmentSettings Read(const AppSettings& app);

    // Keeps every value within its range: sizes 20..100; an animation count
    // 1..10 unless it is 0 (off, and anything below 0 counts as off too);
    // speeds 0..4, anything else the fastest.
    EnvironmentSettings Limited() const;

    // Writes the limited values: the store-only ones always, each of the
    // application's values only when it differs from what `app` holds, and
    // then into `app` as well.
    void Store(AppSettings& app) const;
};

// "MaxImgW" x "MaxImgH" as stored, each kept within 20..100 (40 at first):
// the size pictures are shrunk to for a photomosaic.
QSize StoredShrinkSize();

// The count the dialog offers for `playAnime`: the value itself (within
// 1..10), or 3 while the animation is off.
int OfferedAnimationCount(int playAnime);

}  // namespace tessaly
