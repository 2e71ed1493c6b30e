#pragma once

#include "document/doc_state.h"

namespace tessaly {

class EditedDocument;

// Settings of the view that are saved with the document but are no undoable
// edits: they mark the document modified and notify like any edit.

// Shows the grid with the given spacing.
void SetGridMode(EditedDocument& edited, GridMode mode);
// Hides a shown grid, or shows a hidden one with the spacing it had.
void ToggleGridShown(EditedDocument& edited);
void ToggleGridOnTop(EditedDocument& edited);

// Stores a zoom already bounded by ClampZoom. False when it is the current one.
bool SetDocumentZoom(EditedDocument& edited, float zoom);

// The multi-cut lines: their colour, and their width in canvas pixels,
// bounded to 1..5.
void SetCutLineColour(EditedDocument& edited, ColorRef colour);
void SetCutLineWidth(EditedDocument& edited, int width);

}  // namespace tessaly
