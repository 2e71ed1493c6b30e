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

// Brings back every hidden node (the images a run left unplaced) with its
// top-left corner at the canvas origin and makes them the selection, the
// first of them the main selection, so that they can be found and moved.
// Returns how many came back; with none the document and the selection are
// left as they were.
int ShowUnplacedImages(EditedDocument& edited);

}  // namespace tessaly
