#include "edits/node_visibility.h"

#include "edits/selected_nodes.h"
#include "document/edited_document.h"

namespace tessaly {

void HideSelected(EditedDocument& edited) {
    EditScope edit(edited, SnapshotRule::None);
    Document& doc = edit.Doc();
    for (const int i : SelectedNodes(doc)) {
        doc.Node(i).visible = 0;
        doc.Mark(i).selected = 0;
    }
    edit.Commit();
}

void ShowAllNodes(EditedDocument& edited) {
    EditScope edit(edited, SnapshotRule::None);
    Document& doc = edit.Doc();
    for (int i = 0; i < doc.State().nodeCount; ++i) {
        if (doc.Node(i).visible == 0) doc.Node(i).visible = 1;
    }
    edit.Commit();
}

}  // namespace tessaly
