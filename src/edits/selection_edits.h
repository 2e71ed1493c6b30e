#pragma once

#include "canvas/int_rect.h"
#include "canvas/selection.h"

namespace tessaly {

class EditedDocument;

// Moving and resizing the selected nodes, by mouse or keys. Both are undoable
// while the document has fewer than kSnapshotNodeLimit nodes.

// Moves the selected nodes by (dx, dy) canvas pixels (MoveSelection). False
// when nothing moved.
bool MoveSelected(EditedDocument& edited, int dx, int dy);

// Resizes the main selection from `oldRect` to `newRect` (view pixels) and the
// other selected nodes with it (ResizeSelection). False when nothing changed.
bool ResizeSelected(EditedDocument& edited, Handle handle, const IntRect& oldRect,
                    const IntRect& newRect);

}  // namespace tessaly
