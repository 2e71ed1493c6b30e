#pragma once

#include <QPoint>
#include <optional>
#include <vector>

#include "document/node_record.h"
#include "image/image_blob.h"

namespace tessaly {

// One copied node: its record and mark as they were, and its own copy of the
// picture it had (nothing when it had none). The record's picture field is
// cleared: the store never names a picture of the document, whose pictures
// later edits may replace or release.
struct StoredNode {
    NodeRecord record{};
    NodeMark mark{};
    std::optional<ImageBlob> picture;
};

// The nodes the last copy keeps for pasting inside this program, in table
// order, and the view's insert point at the time of the copy (view pixels;
// (0, 0) for none). A picture copy shares the encoded bytes with the picture
// it was taken from, so keeping it costs no more than a reference. Whoever
// keeps a store empties it after undo and redo, a delete, a new or an opened
// document.
struct CopyStore {
    std::vector<StoredNode> nodes;
    QPoint origin;

    int Count() const { return static_cast<int>(nodes.size()); }
    bool IsEmpty() const { return nodes.empty(); }
    void Clear() {
        nodes.clear();
        origin = {};
    }
};

}  // namespace tessaly
