#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "edits/console_edits.h"
#include "mosaic/arrangement.h"

class QObject;

namespace tessaly {

class Document;
class EditedDocument;

// What the console holds when "再配置" is pressed: its arrangement controls
// (edit boxes already read and bounded) and its display settings.
struct ConsoleSettings {
    int gridColumns = 20;  // 20..500
    int gridRows = 20;
    bool differentColors = false;
    bool skipNoSetColor = false;
    int mosaicType = 1;      // 1..7
    int layerThickness = 1;  // 1..100
    int sizeSteps = 3;       // 1..100
    ColorRef noSetColor = 0xFFFFFF;
    int noSetRange = 5;  // 0..100
    DisplaySettings display;
};

// The edit box ranges of the console.
inline constexpr int kMinGridCount = 20;
inline constexpr int kMaxGridCount = 500;
inline constexpr int kMinLayerCount = 1;
inline constexpr int kMaxLayerCount = 100;
inline constexpr int kMinNoSetRange = 0;
inline constexpr int kMaxNoSetRange = 100;

// The console's settings as the document holds them.
ConsoleSettings ConsoleSettingsOf(const DocState& state);

// The status-bar text while the run goes on.
inline constexpr QStringView kRearrangingText = u"再配置処理中です。このままお待ちください...";
// "処理時間" while a run goes on.
inline constexpr QStringView kElapsedAtStart = u"00:00 00ms";

struct ConsoleRunResult {
    // False when a warning was answered No: the grid counts, check boxes,
    // type and sizes are stored, nothing else is.
    bool confirmed = false;
    // The arrangement ran (a background picture is set) and is one step of
    // undo.
    bool arranged = false;
    ArrangementStats stats;
};

// Follows a run that goes ahead: `started` once the questions are over and
// the settings stored, `finished` with the "処理時間" text once it is done.
struct RunObserver {
    std::function<void()> started;
    std::function<void(const QString& elapsed)> finished;
};

// "再配置": stores the console's settings into the document, asks before slow
// settings (30101: type 1 with more than 10 sizes; 30110: the other types
// with fewer than 10), then runs the arrangement as one step of undo with a
// note and the progress on the status bar, and times it. `owner` parents the
// questions.
ConsoleRunResult RunRearrange(EditedDocument& edited, const ConsoleSettings& settings,
                              std::uint32_t seed, const RunObserver& observer = {},
                              QObject* owner = nullptr);

// Caption and text of the "含有率" result box.
inline constexpr QStringView kContentRateCaption = u"含有率調査結果";

// "含有率": how much of the background picture is `colour`, shown in a box
// with the information icon; without a background picture the user is told
// that there is nothing to measure. False when nothing was measured.
bool ShowContentRate(const Document& doc, ColorRef colour, QObject* owner = nullptr);

}  // namespace tessaly
