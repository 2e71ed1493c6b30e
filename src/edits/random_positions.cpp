#include "edits/random_positions.h"

#include "canvas/selection.h"
#include "edits/selected_nodes.h"
#include "document/edited_document.h"
#include "services/random_generator.h"

namespace tessaly {
namespace {

// A centre that puts a node of `half` on a canvas side of `extent` at
// random. Without room to move (the node as large as the side or larger) the
// node's near edge lies at 0.
int RandomCentre(int half, int extent, int draw) {
    const int room = extent - 2 * half;
    return room > 0 ? half + draw % room : half;
}

}  // namespace

bool ScatterSelected(EditedDocument& edited, CrtRandom& random) {
    if (!HasMainSelection(edited.Doc())) return false;
    EditScope edit(edited, SnapshotRule::BelowNodeLimit);
    Document& doc = edit.Doc();
    const DocState& s = doc.State();
    for (const int i : SelectedNodes(doc)) {
        NodeRecord& n = doc.Node(i);
        const int drawX = random.Next();
        const int drawY = random.Next();
        n.centerX = RandomCentre(n.halfWidth, s.canvasWidth, drawX);
        n.centerY = RandomCentre(n.halfHeight, s.canvasHeight, drawY);
        KeepInsideCanvas(doc, i, KeepBy::Edges);
    }
    return edit.Commit();
}

}  // namespace tessaly
