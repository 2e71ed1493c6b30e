#pragma once

namespace tessaly {

class EditedDocument;

// The console's display edits that act at once. They are no undoable edits:
// they mark the document modified and notify like any edit, and only when
// they change something.

// The brightest and darkest background levels; 4 leaves the picture as it is.
inline constexpr int kMinBackBrightness = 1;
inline constexpr int kMaxBackBrightness = 7;

// Stores `level`, bounded to 1..7, as the background brightness (the track
// bar). Returns the level stored.
int SetBackBrightness(EditedDocument& edited, int level);

// One step darker (`step` < 0) or brighter (`step` > 0) from the stored level,
// bounded to 1..7 (the − and + buttons). Returns the level stored.
int StepBackBrightness(EditedDocument& edited, int step);

// Brings back every hidden node with its top-left corner at the canvas
// origin. False, changing nothing, when no node was hidden.
bool ShowUnplacedImages(EditedDocument& edited);

}  // namespace tessaly
