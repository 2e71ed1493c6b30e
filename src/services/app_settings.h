#pragma once

namespace tessaly {

// The settings the application loads at start-up and writes back at exit
// ("SYS" and "Last" / "DspMosaic"), held as fields while the program runs.
struct AppSettings {
    int playAnime = 3;      // hover animation comets, 0 = off
    int speedAnime = 0;     // 0..4
    int dspGuide = 1;       // 1 = operation guides in the status bar
    int multiCntX = 1;      // multi-cut columns
    int multiCntY = 1;      // multi-cut rows
    float multiMaX = 0.01f;  // stored as thousandths
    float multiMaY = 0.01f;
    int multiExt = 0;       // multi-cut output type
    int dspMosaic = 0;      // the photomosaic console was shown at exit

    // Reads every field from the settings store, with the defaults above.
    static AppSettings Load();
    // Writes every field back.
    void Save() const;
};

// The one instance the running program uses.
AppSettings& CurrentSettings();

}  // namespace tessaly
