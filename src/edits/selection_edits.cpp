#include "edits/selection_edits.h"

#include "document/edited_document.h"

namespace tessaly {

bool MoveSelected(EditedDocument& edited, int dx, int dy) {
    if (!CanMoveSelection(edited.Doc(), dx, dy)) return false;
    EditScope edit(edited, SnapshotRule::BelowNodeLimit);
    return edit.Commit(MoveSelection(edit.Doc(), dx, dy));
}

bool ResizeSelected(EditedDocument& edited, Handle handle, const IntRect& oldRect,
                    const IntRect& newRect) {
    if (!CanResizeSelection(edited.Doc(), oldRect, newRect)) return false;
    EditScope edit(edited, SnapshotRule::BelowNodeLimit);
    return edit.Commit(ResizeSelection(edit.Doc(), handle, oldRect, newRect));
}

}  // namespace tessaly
