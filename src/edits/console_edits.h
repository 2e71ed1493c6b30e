#pragma once

#include "document/doc_state.h"

namespace tessaly {

class EditedDocument;

// The console's controls that write the document at once, and its display
// settings. None of them can be undone: they mark the document modified and
// notify like any edit, and only when they change something.

// Comparison sections: a track bar of positions 1..5 gives p * p sections.
inline constexpr int kMinSectionPosition = 1;
inline constexpr int kMaxSectionPosition = 5;
// The track bar position that shows a stored section count.
int SectionPosition(const DocState& state);
// The track bar set to `position` (bounded to 1..5): a section count other
// than the stored one is stored and every node's averages are computed
// again. Returns the position.
int SetSectionPosition(EditedDocument& edited, int position);
// The − (`step` < 0) and + buttons: nothing at all at 1 or 25 sections,
// otherwise one position from the stored count.
int StepSectionPosition(EditedDocument& edited, int step);

// Comparison precision 1..25: the track bar and its − and + buttons. Return
// the precision stored.
inline constexpr int kMinComparePrecision = 1;
inline constexpr int kMaxComparePrecision = 25;
int SetComparePrecision(EditedDocument& edited, int precision);
int StepComparePrecision(EditedDocument& edited, int step);

// The frame-line style list: stored at once but not drawn until the display
// settings are applied, so the canvas is not repainted.
void SetImageFrameStyle(EditedDocument& edited, int style);

// The display settings as the console's controls hold them.
struct DisplaySettings {
    bool showBackPicture = true;
    bool adjustColors = false;
    bool mosaicBackground = false;
    bool imageFrames = false;
    int imageFrameWidth = 1;  // 1..20
    ColorRef imageFrameColor = kColorNone;
};
inline constexpr int kMinFrameWidth = 1;
inline constexpr int kMaxFrameWidth = 20;

// Reads them from the document, and stores them into it ("再表示").
DisplaySettings DisplaySettingsOf(const DocState& state);
void StoreDisplaySettings(EditedDocument& edited, const DisplaySettings& display);

}  // namespace tessaly
