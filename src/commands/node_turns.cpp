#include "commands/node_turns.h"

#include <cmath>

#include "canvas/selection.h"
#include "commands/selected_nodes.h"
#include "document/edited_document.h"

namespace tessaly {

bool TurnSelected(EditedDocument& edited, int degrees) {
    if (!HasMainSelection(edited.Doc())) return false;
    {
        // The step that undoes the whole group; it closes before the first
        // node is turned so that each node's own step follows it.
        EditScope group(edited, SnapshotRule::Always);
        group.Commit();
    }
    const double angle = degrees * (4.0 * std::atan(1.0)) / 180.0;
    for (const int i : SelectedNodes(edited.Doc())) {
        EditScope node(edited, SnapshotRule::Always);
        const bool turned = RotateNodePicture(node.Doc(), i, angle);
        const bool kept = KeepInsideCanvas(node.Doc(), i, KeepBy::Centre);
        node.Commit(turned || kept);
    }
    return true;
}

bool MirrorSelected(EditedDocument& edited, MirrorAxis axis) {
    if (!HasMainSelection(edited.Doc())) return false;
    EditScope edit(edited, SnapshotRule::Always);
    for (const int i : SelectedNodes(edit.Doc()))
        MirrorNodePicture(edit.Doc(), i, axis);
    return edit.Commit();
}

}  // namespace tessaly
