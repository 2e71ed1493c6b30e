#pragma once

#include "canvas/int_rect.h"
#include "canvas/multi_cut_geometry.h"
#include "document/doc_state.h"

class QPainter;

namespace tessaly {

struct AppSettings;

// What the multi-cut overlay shows: the grid's first cell (canvas pixels),
// its highlighted part, and the line colour and width (canvas pixels) the
// document keeps.
struct CutOverlay {
    IntRect rect;
    CutPart highlighted = CutPart::None;
    ColorRef lineColour = 0;
    int lineWidth = 1;
};

// Paints the overlay over the node being cut, in view pixels at `zoom`: the
// outlines of the other cells (solid), the first cell inverted with a dotted
// outline, the highlighted edges in a darker shade of the line colour (grey
// for black), and a small square at each corner of the first cell. Lines are
// the line width times the zoom, at least one pixel. With one cell across and
// down only the first cell is drawn.
void PaintCutOverlay(QPainter& painter, const CutOverlay& overlay, const AppSettings& grid,
                     float zoom);

// The shade the highlight is drawn in: 64 less of red, green and blue, not
// below 0; grey (128, 128, 128) for black and for no colour.
ColorRef HighlightColour(ColorRef lineColour);

}  // namespace tessaly
