#pragma once

namespace tessaly {

class CrtRandom;
class EditedDocument;

// "ランダムに位置変更": every selected node, in index order, gets a random
// place where it lies wholly on the canvas (two draws of `random` per node:
// x, then y). A node as wide (tall) as the canvas or wider starts at the
// left (top) edge. Each node is then kept inside the canvas by its edges at
// the current zoom. Undoable while the document has fewer than
// kSnapshotNodeLimit nodes. False, changing nothing, without a main
// selection.
bool ScatterSelected(EditedDocument& edited, CrtRandom& random);

}  // namespace tessaly
