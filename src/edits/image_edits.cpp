#include "edits/image_edits.h"

#include "canvas/node_append.h"
#include "canvas/node_sub.h"
#include "canvas/selection.h"
#include "document/edited_document.h"

namespace tessaly {

int AddImages(EditedDocument& edited, const std::vector<ImageEntry>& entries,
              const AddImagesRequest& request) {
    if (entries.empty()) return 0;
    EditScope edit(edited, SnapshotRule::Always);
    const int added = AddImageFiles(edit.Doc(), entries, request);
    edit.Commit(added > 0);
    return added;
}

bool AddDroppedPicture(EditedDocument& edited, QPoint position, QSize size, ImageBlob picture,
                       SnapshotRule rule) {
    if (!CanAddNode(edited.Doc())) return false;
    EditScope edit(edited, rule);
    Document& doc = edit.Doc();
    ClearSelection(doc);
    return edit.Commit(
        AppendNode(doc, position, size.width(), size.height(), std::move(picture)));
}

bool ReplaceImage(EditedDocument& edited, int node, ImageBlob picture, SnapshotRule rule) {
    Document& doc = edited.Doc();
    if (node < 0 || node >= doc.State().nodeCount) return false;
    EditScope edit(edited, rule);
    if (!doc.IsSelected(node)) ClearSelection(doc);
    doc.Mark(node).selected = 1;
    doc.State().mainSelection = node;
    ReplaceNodePicture(doc, node, std::move(picture));
    return edit.Commit();
}

bool RotateNode(EditedDocument& edited, int node, double angle) {
    EditScope edit(edited, SnapshotRule::Always);
    return edit.Commit(RotateNodePicture(edit.Doc(), node, angle));
}

}  // namespace tessaly
