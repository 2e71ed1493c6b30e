#pragma once

namespace tessaly {

class EditedDocument;

// The stacking order: a node of a higher index is drawn over the lower ones.
// These edits record no undo snapshot.

enum class StackEnd { Front, Back };

// Moves the selected nodes above (Front) or below (Back) all others; within
// each group the order stays, and every node takes its selection mark along.
// The main selection becomes the topmost (bottommost) node. With a hidden
// node in the document it shows "位置交換に失敗しました" and changes
// nothing. False, without a message, when there is no main selection.
bool RestackSelected(EditedDocument& edited, StackEnd end);

// Exchanges the places in the table of the two selected nodes, records and
// marks together, so that their drawing order is swapped; the main selection
// keeps its index. False, changing nothing, unless exactly two count as
// selected.
bool SwapSelected(EditedDocument& edited);

}  // namespace tessaly
