#pragma once

#include <QPoint>
#include <vector>

#include "canvas/image_batch.h"
#include "document/edited_document.h"
#include "image/image_blob.h"

namespace tessaly {

// The edits that bring pictures into the document.

// The add command and file drops: the entries become nodes on top, as one
// undoable edit (AddImageFiles). Returns the number of nodes added.
int AddImages(EditedDocument& edited, const std::vector<ImageEntry>& entries,
              const AddImagesRequest& request);

// A dropped link or bitmap, or a pasted image: one node centred on
// `position` (canvas pixels), selected alone; undoable as `rule` says (a
// drop is not). False when the document is full.
bool AddDroppedPicture(EditedDocument& edited, QPoint position, QSize size, ImageBlob picture,
                       SnapshotRule rule = SnapshotRule::None);

// Gives node `node` a new picture and makes it the main selection, as one
// edit (ReplaceNodePicture), undoable unless `rule` says otherwise.
bool ReplaceImage(EditedDocument& edited, int node, ImageBlob picture,
                  SnapshotRule rule = SnapshotRule::Always);

// Turns node `node`'s picture by `angle` radians, as one undoable edit
// (RotateNodePicture). False when nothing could be turned.
bool RotateNode(EditedDocument& edited, int node, double angle);

}  // namespace tessaly
