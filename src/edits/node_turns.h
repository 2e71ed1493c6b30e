#pragma once

#include "canvas/node_sub.h"

namespace tessaly {

class EditedDocument;

// Turning and mirroring the pictures of the selected nodes, re-encoded as
// JPEG of quality 100. False, changing nothing, without a main selection.

// Turns every selected node's picture by `degrees` anticlockwise (270 is a
// quarter turn clockwise), keeping each node's centre and scale
// (RotateNodePicture), then keeps the node inside the canvas by its centre.
// The whole group is one undoable edit with one snapshot, however many nodes
// turn: a snapshot writes every picture of the document. A node without a
// picture, or whose picture cannot be turned, is only kept inside.
bool TurnSelected(EditedDocument& edited, int degrees);

// Mirrors every selected node's picture as one undoable edit; a picture that
// cannot be mirrored stays as it was.
bool MirrorSelected(EditedDocument& edited, MirrorAxis axis);

}  // namespace tessaly
