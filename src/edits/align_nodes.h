#pragma once

namespace tessaly {

class EditedDocument;

// The eleven alignment commands of the "整列" menu.
enum class Alignment {
    Left,              // left edges to the main selection's left edge
    Right,             // right edges to its right edge
    Top,               // top edges to its top edge
    Bottom,            // bottom edges to its bottom edge
    CentreVertical,    // the group's bounding box centred on the canvas vertically
    CentreHorizontal,  // and horizontally
    SpaceVertical,     // equal vertical gaps between the first and the last node
    SpaceHorizontal,   // equal horizontal gaps
    SameWidth,         // the main selection's width
    SameHeight,        // its height
    SameSize,          // its width and height
};

// Aligns the selected nodes as one undoable edit. Without a main selection
// nothing happens and false is returned; with one, the snapshot is taken even
// when nothing then moves. Edges and sizes act on every selected node but the
// main one, in canvas pixels. Centring and equal spacing work in view pixels
// at the current zoom, as the canvas draws, and move the nodes along one axis
// only; equal spacing needs three selected nodes, keeps the first and the
// last along the axis in place and shows "メモリの確保に失敗しました" when
// it cannot order the nodes (changing nothing).
bool AlignSelected(EditedDocument& edited, Alignment alignment);

}  // namespace tessaly
