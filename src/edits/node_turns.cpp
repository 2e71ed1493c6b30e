#include "edits/node_turns.h"

#include <cmath>

#include "canvas/selection.h"
#include "edits/selected_nodes.h"
#include "document/edited_document.h"

namespace tessaly {

bool TurnSelected(EditedDocument& edited, int degrees) {
    if (!HasMainSelection(edited.Doc())) return false;
    const double angle = degrees * (4.0 * std::atan(1.0)) / 180.0;
    EditScope edit(edited, SnapshotRule::Always);
    for (const int i : SelectedNodes(edit.Doc())) {
        RotateNodePicture(edit.Doc(), i, angle);
        KeepInsideCanvas(edit.Doc(), i, KeepBy::Centre);
    }
    return edit.Commit();
}

bool MirrorSelected(EditedDocument& edited, MirrorAxis axis) {
    if (!HasMainSelection(edited.Doc())) return false;
    EditScope edit(edited, SnapshotRule::Always);
    for (const int i : SelectedNodes(edit.Doc()))
        MirrorNodePicture(edit.Doc(), i, axis);
    return edit.Commit();
}

}  // namespace tessaly
